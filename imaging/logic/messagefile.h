// The two scrolling-message file formats, parsed from their bytes.
//
// Tagged (".SCM"): eight fields, each a start tag and its value, the value
// ending where the next field's start tag begins ("/sm|" ends at "/eo|"):
//   /fc| font colour  /fh| font height  /fn| font name  /fs| font size
//   /ft| font style   /bc| background   /sp| speed      /sm| message text
// Lines (".CMS"): line 1 ignored, then font colour, font height, font name,
// font size, font style, background colour, speed; the message lines follow.
//
// Colours are stored colours (low byte red); a negative font height is the
// character height in pixels; the size is in points; the style is four
// characters, bold, italic, underline, strike-out, where '1' switches it on.
// Files are Windows-1252 text with CRLF or LF line ends.
#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Font of a scrolling message: the face and size, and its colour.
struct MessageFont {
    QFont font;
    QColor color;
};

// A malformed number or a line file of fewer than eight lines.
class MessageFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Only this many bytes of a line message file are read.
constexpr qsizetype kLineMessageFileCap = 65527;

// Sets the targets from a tagged file's contents. A field the file lacks gets
// its default (font colour pure red, height -13, name "SYSTEM", background 128,
// speed 1, message " Invallid message format ! "; size and style unchanged);
// a field present but empty leaves its target unchanged. Throws
// MessageFileError on a malformed number, and then changes nothing.
void parseTaggedMessage(QByteArrayView contents, MessageFont &font, int &speed, QString &message,
                        QColor &background);

// Sets the targets from a line file's contents (the first kLineMessageFileCap
// bytes); `lines` is emptied first, then receives the message lines. Throws
// MessageFileError on a malformed number or fewer than eight lines, and then
// changes nothing but the emptied list.
void parseLineMessage(QByteArrayView contents, MessageFont &font, int &speed, QStringList &lines,
                      QColor &background);
