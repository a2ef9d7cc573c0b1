#!/usr/bin/env python3
"""Writes the Chinese, Korean and Japanese word lists of data/cjk/ as UTF-8 TSV files.

Each list is a set of real words with short English texts, followed by near-miss
entries made systematically from them, one group for each rule by which the keys of
the language are compared or refused:

- an ASCII letter between two characters that are otherwise equal, in both cases;
- words that differ only in the case of their ASCII letters;
- eleven entries of one word, numbered as homographs 1 to 11 by the compiler, so
  that the numbers 2 and 10 meet;
- ideographic spaces inside and before a word (removed from keys, so such an entry
  shares its key with the word written without them);
- keys of 243 bytes (usable) and 245 bytes (a two-byte character crossing 244);
- words of ASCII only (no two-byte character) and words the code page cannot hold.

usage: make_word_lists.py [OUTPUT_DIR]   (default: the folder of this script)
"""
import os
import sys

SIMPLIFIED = [
    ("中文", "the Chinese language"), ("中国", "China"), ("中心", "centre"),
    ("中间", "middle"), ("中午", "noon"), ("中学", "secondary school"),
    ("人民", "the people"), ("人口", "population"), ("人类", "mankind"),
    ("大学", "university"), ("大家", "everybody"), ("大海", "the sea"),
    ("小说", "novel"), ("小孩", "child"), ("小心", "careful"),
    ("学生", "student"), ("学校", "school"), ("学习", "to study"),
    ("老师", "teacher"), ("朋友", "friend"), ("家庭", "family"),
    ("电话", "telephone"), ("电脑", "computer"), ("电影", "film"),
    ("电视", "television"), ("手机", "mobile phone"), ("飞机", "aeroplane"),
    ("火车", "train"), ("汽车", "car"), ("自行车", "bicycle"),
    ("公共汽车", "bus"), ("地铁", "underground railway"), ("机场", "airport"),
    ("医院", "hospital"), ("医生", "doctor"), ("银行", "bank"),
    ("商店", "shop"), ("饭店", "restaurant"), ("图书馆", "library"),
    ("书", "book"), ("水", "water"), ("火", "fire"), ("山", "mountain"),
    ("河", "river"), ("天", "sky; day"), ("地", "earth; ground"),
    ("月亮", "the moon"), ("太阳", "the sun"), ("星星", "star"),
    ("春天", "spring"), ("夏天", "summer"), ("秋天", "autumn"), ("冬天", "winter"),
    ("今天", "today"), ("明天", "tomorrow"), ("昨天", "yesterday"),
    ("早上", "morning"), ("晚上", "evening"), ("时间", "time"),
    ("工作", "work"), ("休息", "to rest"), ("吃饭", "to have a meal"),
    ("喝茶", "to drink tea"), ("睡觉", "to sleep"), ("唱歌", "to sing"),
    ("跳舞", "to dance"), ("游泳", "to swim"), ("旅游", "to travel"),
    ("音乐", "music"), ("颜色", "colour"), ("红色", "red"), ("蓝色", "blue"),
    ("绿色", "green"), ("白色", "white"), ("黑色", "black"),
    ("苹果", "apple"), ("香蕉", "banana"), ("西瓜", "watermelon"),
    ("米饭", "cooked rice"), ("面条", "noodles"), ("饺子", "dumplings"),
    ("包子", "steamed bun"), ("豆腐", "tofu"), ("鸡蛋", "egg"),
    ("牛奶", "milk"), ("咖啡", "coffee"), ("啤酒", "beer"),
    ("猫", "cat"), ("狗", "dog"), ("鸟", "bird"), ("鱼", "fish"), ("马", "horse"),
    ("北京", "Beijing"), ("上海", "Shanghai"), ("长江", "the Yangtze"),
    ("黄河", "the Yellow River"), ("长城", "the Great Wall"),
    ("你好", "hello"), ("谢谢", "thank you"), ("再见", "goodbye"),
    ("对不起", "sorry"), ("没关系", "never mind"), ("欢迎", "welcome"),
    ("漂亮", "pretty"), ("高兴", "glad"), ("容易", "easy"), ("困难", "difficult"),
    ("问题", "question; problem"), ("办法", "way; means"), ("意思", "meaning"),
    ("啊", "ah (interjection)"), ("阿姨", "auntie"), ("座位", "seat"),
    ("卡拉OK", "karaoke"), ("T恤", "T-shirt"), ("X光", "X-ray"),
    ("AA制", "going Dutch"), ("B超", "ultrasound scan"), ("Q版", "cute cartoon style"),
    ("三K党", "the Ku Klux Klan"), ("卡拉ok", "karaoke, in small letters"),
    ("t恤", "T-shirt, in a small letter"),
]

TRADITIONAL = [
    ("中文", "the Chinese language"), ("中國", "China"), ("中心", "centre"),
    ("中間", "middle"), ("中午", "noon"), ("中學", "secondary school"),
    ("人民", "the people"), ("人口", "population"), ("人類", "mankind"),
    ("大學", "university"), ("大家", "everybody"), ("大海", "the sea"),
    ("小說", "novel"), ("小孩", "child"), ("小心", "careful"),
    ("學生", "student"), ("學校", "school"), ("學習", "to study"),
    ("老師", "teacher"), ("朋友", "friend"), ("家庭", "family"),
    ("電話", "telephone"), ("電腦", "computer"), ("電影", "film"),
    ("電視", "television"), ("手機", "mobile phone"), ("飛機", "aeroplane"),
    ("火車", "train"), ("汽車", "car"), ("腳踏車", "bicycle"),
    ("公車", "bus"), ("捷運", "metro"), ("機場", "airport"),
    ("醫院", "hospital"), ("醫生", "doctor"), ("銀行", "bank"),
    ("商店", "shop"), ("飯店", "hotel; restaurant"), ("圖書館", "library"),
    ("書", "book"), ("水", "water"), ("火", "fire"), ("山", "mountain"),
    ("河", "river"), ("天", "sky; day"), ("地", "earth; ground"),
    ("月亮", "the moon"), ("太陽", "the sun"), ("星星", "star"),
    ("春天", "spring"), ("夏天", "summer"), ("秋天", "autumn"), ("冬天", "winter"),
    ("今天", "today"), ("明天", "tomorrow"), ("昨天", "yesterday"),
    ("早上", "morning"), ("晚上", "evening"), ("時間", "time"),
    ("工作", "work"), ("休息", "to rest"), ("吃飯", "to have a meal"),
    ("喝茶", "to drink tea"), ("睡覺", "to sleep"), ("唱歌", "to sing"),
    ("跳舞", "to dance"), ("游泳", "to swim"), ("旅遊", "to travel"),
    ("音樂", "music"), ("顏色", "colour"), ("紅色", "red"), ("藍色", "blue"),
    ("綠色", "green"), ("白色", "white"), ("黑色", "black"),
    ("蘋果", "apple"), ("香蕉", "banana"), ("西瓜", "watermelon"),
    ("米飯", "cooked rice"), ("麵條", "noodles"), ("餃子", "dumplings"),
    ("包子", "steamed bun"), ("豆腐", "tofu"), ("雞蛋", "egg"),
    ("牛奶", "milk"), ("咖啡", "coffee"), ("啤酒", "beer"),
    ("貓", "cat"), ("狗", "dog"), ("鳥", "bird"), ("魚", "fish"), ("馬", "horse"),
    ("臺北", "Taipei"), ("香港", "Hong Kong"), ("長江", "the Yangtze"),
    ("黃河", "the Yellow River"), ("長城", "the Great Wall"),
    ("你好", "hello"), ("謝謝", "thank you"), ("再見", "goodbye"),
    ("對不起", "sorry"), ("沒關係", "never mind"), ("歡迎", "welcome"),
    ("漂亮", "pretty"), ("高興", "glad"), ("容易", "easy"), ("困難", "difficult"),
    ("問題", "question; problem"), ("辦法", "way; means"), ("意思", "meaning"),
    ("一", "one"), ("一樣", "the same"), ("一起", "together"), ("丁", "fourth; a man"),
    ("卡拉OK", "karaoke"), ("T恤", "T-shirt"), ("X光", "X-ray"),
    ("三K黨", "the Ku Klux Klan"), ("卡拉ok", "karaoke, in small letters"),
    ("t恤", "T-shirt, in a small letter"),
    # Big5 lead limits: f9 d6 and f9 dc (the last of lead f9) and a3 bb, a3 bf (the last
    # of lead a3) are characters; what lies past them is not.
    ("碁盤", "go board"), ("嫺熟", "skilful"), ("嫺", "refined; elegant"),
    ("ㄅㄆㄇ", "the first bopomofo letters"), ("ˋ", "the falling-tone mark"),
    ("˙", "the neutral-tone mark"), ("ㄇㄚˋ", "ma in the falling tone"),
]

KOREAN = [
    ("한국어", "the Korean language"), ("한국", "Korea"), ("한글", "the Korean alphabet"),
    ("사람", "person"), ("사랑", "love"), ("사과", "apple; apology"),
    ("학교", "school"), ("학생", "student"), ("선생님", "teacher"),
    ("친구", "friend"), ("가족", "family"), ("어머니", "mother"),
    ("아버지", "father"), ("형", "elder brother"), ("누나", "elder sister"),
    ("동생", "younger sibling"), ("아이", "child"), ("할머니", "grandmother"),
    ("할아버지", "grandfather"), ("집", "house"), ("방", "room"),
    ("문", "door"), ("창문", "window"), ("책", "book"), ("책상", "desk"),
    ("의자", "chair"), ("컴퓨터", "computer"), ("전화", "telephone"),
    ("휴대폰", "mobile phone"), ("텔레비전", "television"), ("영화", "film"),
    ("음악", "music"), ("노래", "song"), ("춤", "dance"), ("그림", "picture"),
    ("사진", "photograph"), ("물", "water"), ("불", "fire"), ("산", "mountain"),
    ("강", "river"), ("바다", "sea"), ("하늘", "sky"), ("땅", "ground"),
    ("해", "sun"), ("달", "moon"), ("별", "star"), ("봄", "spring"),
    ("여름", "summer"), ("가을", "autumn"), ("겨울", "winter"),
    ("오늘", "today"), ("내일", "tomorrow"), ("어제", "yesterday"),
    ("아침", "morning"), ("저녁", "evening"), ("밤", "night; chestnut"),
    ("시간", "time"), ("일", "work; day; one"), ("공부", "study"),
    ("밥", "cooked rice"), ("김치", "kimchi"), ("빵", "bread"), ("우유", "milk"),
    ("커피", "coffee"), ("차", "tea; car"), ("고기", "meat"), ("생선", "fish (food)"),
    ("과일", "fruit"), ("바나나", "banana"), ("수박", "watermelon"),
    ("고양이", "cat"), ("개", "dog"), ("새", "bird"), ("물고기", "fish"),
    ("말", "horse; speech"), ("소", "cow"), ("서울", "Seoul"), ("부산", "Busan"),
    ("병원", "hospital"), ("의사", "doctor"), ("은행", "bank"), ("가게", "shop"),
    ("식당", "restaurant"), ("도서관", "library"), ("공항", "airport"),
    ("기차", "train"), ("자동차", "car"), ("자전거", "bicycle"), ("버스", "bus"),
    ("지하철", "underground railway"), ("비행기", "aeroplane"),
    ("안녕하세요", "hello"), ("감사합니다", "thank you"), ("미안합니다", "sorry"),
    ("괜찮아요", "it is all right"), ("좋다", "to be good"), ("크다", "to be big"),
    ("작다", "to be small"), ("빨간색", "red"), ("파란색", "blue"),
    ("가", "edge; subject particle"), ("가다", "to go"), ("가방", "bag"),
    ("PC방", "internet café"), ("TV", "television, in letters"),
    ("CD플레이어", "CD player"), ("K팝", "Korean pop music"), ("pc방", "internet café, in small letters"),
    ("e메일", "e-mail"), ("E메일", "e-mail, with a capital"),
]

IDEOGRAPHIC_SPACE = "\u3000"
LONG_FILL = "A"


def near_misses(words, character, not_in_code_page, homograph_word):
    """The systematic entries of one list; character is a single valid two-byte character."""
    out = []
    two = [w for w, _ in words if len(w) == 2 and all(ord(c) > 0x7F for c in w)][:20]
    for w in two:
        out.append((w[0] + "x" + w[1], "near miss: x between the characters of " + w))
        out.append((w[0] + "X" + w[1], "near miss: X between the characters of " + w))
        out.append((w + "a", "near miss: " + w + " and a small a"))
        out.append((w + "A", "near miss: " + w + " and a capital A"))
    for w in two[:10]:
        out.append((w[0] + IDEOGRAPHIC_SPACE + w[1], "near miss: an ideographic space inside " + w))
        out.append((IDEOGRAPHIC_SPACE + w, "near miss: an ideographic space before " + w))
    for n in range(1, 12):
        out.append((homograph_word, "homograph %d of %s" % (n, homograph_word)))
    out.append((LONG_FILL * 241 + character, "a key of 243 bytes, the longest usable"))
    out.append((LONG_FILL * 243 + character, "a key of 245 bytes: the character crosses 244"))
    for w in ("OK", "DNA", "3-1"):
        out.append((w, "ASCII only: no two-byte character"))
    for w in not_in_code_page:
        out.append((w, "not in the code page"))
    return out


def write_list(path, words, extra):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("headword\ttext\n")
        for word, text in words + extra:
            f.write("%s\t%s\n" % (word, text))


JAPANESE = [
    # -か (2d 82 a9) < かー (82 a9 81 5b) < か-ー (82 a9 2d 81 5b) < -か: one bound and
    # one free long-vowel mark make the comparison go round, and the compiler must leave
    # one of the three out.
    ("-か", "a hyphen before ka"), ("かー", "ka with a long-vowel mark"),
    ("か-ー", "ka, a hyphen and a free long-vowel mark"),
    ("か", "ka"), ("カ", "ka in katakana"), ("が", "ga"), ("カア", "ka and a"),
    ("カー", "car"), ("カイ", "ka and i"), ("かあ", "ka and a in hiragana"),
    ("日本", "Japan"), ("日本語", "the Japanese language"), ("漢字", "Chinese character"),
    ("ひらがな", "hiragana"), ("カタカナ", "katakana"), ("コーヒー", "coffee"),
    ("ケーキ", "cake"), ("ｶﾀｶﾅ", "katakana in half width"), ("１", "a full-width digit"),
    ("水", "water"), ("火", "fire"), ("山", "mountain"), ("川", "river"),
]


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_list(os.path.join(out_dir, "zh_simplified.tsv"), SIMPLIFIED,
               near_misses(SIMPLIFIED, "啊", ["體育", "這個", "똠"], "行"))
    write_list(os.path.join(out_dir, "zh_traditional.tsv"), TRADITIONAL,
               near_misses(TRADITIONAL, "一", ["这个", "╔", "▓", "€", "똠"], "行"))
    write_list(os.path.join(out_dir, "korean.tsv"), KOREAN,
               near_misses(KOREAN, "가", ["똠", "펲", "这个"], "배"))
    write_list(os.path.join(out_dir, "japanese_cycle.tsv"), JAPANESE, [])


if __name__ == "__main__":
    main()
