// Responses as the protocol lays them out: a status line, or a text of lines ended by a
// line holding only ".", every line ended by CR LF and within kMaxLineSize bytes with
// its line end. A text's line that starts with "." gets a second one, which clients take
// off, and a text's line too long goes on in the next at a UTF-8 character's start.
#pragma once

#include <string>
#include <string_view>

namespace orviadic::serve {

class Response {
 public:
  // mime: whether texts begin with MIME headers (after OPTION MIME).
  explicit Response(bool mime) : mime_(mime) {}

  // "code text" as one line, cut at a character's start when it is too long.
  void status(int code, std::string_view text);
  // text (LF or CR LF line ends; a final line end is optional) and the "." that ends it.
  void text(std::string_view text);
  // One line of a text when the caller writes a text line by line; textEnd() closes it.
  void textLine(std::string_view line);
  void textEnd();

  const std::string& bytes() const { return bytes_; }

 private:
  void beginText();
  // A line of a text, dot-stuffed and wrapped.
  void line(std::string_view line);

  bool mime_;
  bool inText_ = false;
  std::string bytes_;
};

}  // namespace orviadic::serve
