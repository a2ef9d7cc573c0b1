// The kana table: for each kana position (hiragana by trail byte from 0x9F, katakana lined
// up with them), the group the kana folds onto and its vowel, both as hiragana trail bytes.
#include "lang/japanese_chars.h"

namespace orvia::lang::japanese {
namespace {

// The small vowel kana stand for the vowels.
constexpr uint8_t kA = 0x9F;
constexpr uint8_t kI = 0xA1;
constexpr uint8_t kU = 0xA3;
constexpr uint8_t kE = 0xA5;
constexpr uint8_t kO = 0xA7;
constexpr uint8_t kNone = 0;

}  // namespace

// ゐ sounds u here, not i; the last three positions exist only in katakana.
const KanaRow kKanaTable[kKanaPositions] = {
    {0x9F, kA},    {0x9F, kA},              // ぁ あ
    {0xA1, kI},    {0xA1, kI},              // ぃ い
    {0xA3, kU},    {0xA3, kU},              // ぅ う
    {0xA5, kE},    {0xA5, kE},              // ぇ え
    {0xA7, kO},    {0xA7, kO},              // ぉ お
    {0xA9, kA},    {0xA9, kA},              // か が
    {0xAB, kI},    {0xAB, kI},              // き ぎ
    {0xAD, kU},    {0xAD, kU},              // く ぐ
    {0xAF, kE},    {0xAF, kE},              // け げ
    {0xB1, kO},    {0xB1, kO},              // こ ご
    {0xB3, kA},    {0xB3, kA},              // さ ざ
    {0xB5, kI},    {0xB5, kI},              // し じ
    {0xB7, kU},    {0xB7, kU},              // す ず
    {0xB9, kE},    {0xB9, kE},              // せ ぜ
    {0xBB, kO},    {0xBB, kO},              // そ ぞ
    {0xBD, kA},    {0xBD, kA},              // た だ
    {0xBF, kI},    {0xBF, kI},              // ち ぢ
    {0xC1, kU},    {0xC1, kU}, {0xC1, kU},  // っ つ づ
    {0xC4, kE},    {0xC4, kE},              // て で
    {0xC6, kO},    {0xC6, kO},              // と ど
    {0xC8, kA},                             // な
    {0xC9, kI},                             // に
    {0xCA, kU},                             // ぬ
    {0xCB, kE},                             // ね
    {0xCC, kO},                             // の
    {0xCD, kA},    {0xCD, kA}, {0xCD, kA},  // は ば ぱ
    {0xD0, kI},    {0xD0, kI}, {0xD0, kI},  // ひ び ぴ
    {0xD3, kU},    {0xD3, kU}, {0xD3, kU},  // ふ ぶ ぷ
    {0xD6, kE},    {0xD6, kE}, {0xD6, kE},  // へ べ ぺ
    {0xD9, kO},    {0xD9, kO}, {0xD9, kO},  // ほ ぼ ぽ
    {0xDC, kA},                             // ま
    {0xDD, kI},                             // み
    {0xDE, kU},                             // む
    {0xDF, kE},                             // め
    {0xE0, kO},                             // も
    {0xE1, kA},    {0xE1, kA},              // ゃ や
    {0xE3, kU},    {0xE3, kU},              // ゅ ゆ
    {0xE5, kO},    {0xE5, kO},              // ょ よ
    {0xE7, kA},                             // ら
    {0xE8, kI},                             // り
    {0xE9, kU},                             // る
    {0xEA, kE},                             // れ
    {0xEB, kO},                             // ろ
    {0xEC, kA},    {0xEC, kA},              // ゎ わ
    {0xEE, kU},                             // ゐ
    {0xEF, kE},                             // ゑ
    {0xF0, kO},                             // を
    {0xF1, kNone},                          // ん
    {0xA3, kU},                             // ヴ
    {0xA9, kA},                             // ヵ
    {0xAF, kE},                             // ヶ
};

}  // namespace orvia::lang::japanese
