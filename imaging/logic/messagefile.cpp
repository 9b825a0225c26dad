#include "messagefile.h"

#include "couleurs.h"
#include "cp1252.h"

#include <QRegularExpression>
#include <array>
#include <optional>

namespace {

int parseNumber(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw MessageFileError("nombre incorrect dans le fichier message : \"" +
                               text.toString().toStdString() + '"');
    return value;
}

// Windows font heights: negative is the character height, positive the cell
// height; both are taken as the pixel size, 0 keeps the current size.
void applyHeight(QFont &font, int height)
{
    if (height != 0)
        font.setPixelSize(height < 0 ? -height : height);
}

void applyPointSize(QFont &font, int points)
{
    if (points > 0)
        font.setPointSize(points);
}

void applyFamily(QFont &font, QStringView name)
{
    const QStringView trimmed = name.trimmed();
    if (!trimmed.isEmpty())
        font.setFamily(trimmed.toString());
}

// Bold, italic, underline, strike-out: '1' switches one on, anything else or
// a missing character leaves it off.
void applyStyle(QFont &font, QStringView style)
{
    const auto on = [style](int i) { return i < style.size() && style[i] == QLatin1Char('1'); };
    font.setBold(on(0));
    font.setItalic(on(1));
    font.setUnderline(on(2));
    font.setStrikeOut(on(3));
}

enum Field { FontColor, FontHeight, FontName, FontSize, FontStyle, Background, Speed, Text };

constexpr std::array<const char *, 9> kTags = {"/fc|", "/fh|", "/fn|", "/fs|", "/ft|",
                                               "/bc|", "/sp|", "/sm|", "/eo|"};

// The text between the field's start tag and the next field's start tag, both
// searched from the start of the file; nothing when either tag is missing.
std::optional<QStringView> taggedValue(QStringView text, Field field)
{
    const qsizetype start = text.indexOf(QLatin1String(kTags[field]));
    const qsizetype end = text.indexOf(QLatin1String(kTags[field + 1]));
    if (start < 0 || end < 0)
        return std::nullopt;
    const qsizetype from = start + 4;
    return end > from ? text.sliced(from, end - from) : QStringView();
}

// Runs `apply` on the field's value when it is present and not empty; the
// settings ignore the spaces and line breaks around them, the message keeps them.
template <typename Apply>
void withValue(QStringView text, Field field, Apply apply)
{
    std::optional<QStringView> value = taggedValue(text, field);
    if (value && field != Text)
        value = value->trimmed();
    if (value && !value->isEmpty())
        apply(*value);
}

QStringList splitLines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the break that ends the last line starts no new one
    return lines;
}

}  // namespace

void parseTaggedMessage(QByteArrayView contents, MessageFont &font, int &speed, QString &message,
                        QColor &background)
{
    const QString text = depuis_cp1252(contents.data(), contents.size());
    const auto present = [&text](Field field) { return taggedValue(text, field).has_value(); };

    MessageFont newFont = font;
    int newSpeed = speed;
    QString newMessage = message;
    QColor newBackground = background;

    if (!present(FontColor))
        newFont.color = vers_qcolor(255);
    if (!present(FontHeight))
        applyHeight(newFont.font, -13);
    if (!present(FontName))
        newFont.font.setFamily(QStringLiteral("SYSTEM"));
    if (!present(Background))
        newBackground = vers_qcolor(128);
    if (!present(Speed))
        newSpeed = 1;
    if (!present(Text))
        newMessage = QStringLiteral(" Invallid message format ! ");

    withValue(text, FontColor, [&](QStringView v) { newFont.color = vers_qcolor(parseNumber(v)); });
    withValue(text, FontHeight, [&](QStringView v) { applyHeight(newFont.font, parseNumber(v)); });
    withValue(text, FontName, [&](QStringView v) { applyFamily(newFont.font, v); });
    withValue(text, FontSize, [&](QStringView v) { applyPointSize(newFont.font, parseNumber(v)); });
    withValue(text, FontStyle, [&](QStringView v) { applyStyle(newFont.font, v); });
    withValue(text, Background, [&](QStringView v) { newBackground = vers_qcolor(parseNumber(v)); });
    withValue(text, Speed, [&](QStringView v) { newSpeed = parseNumber(v); });
    withValue(text, Text, [&](QStringView v) { newMessage = v.toString(); });

    font = newFont;
    speed = newSpeed;
    message = newMessage;
    background = newBackground;
}

void parseLineMessage(QByteArrayView contents, MessageFont &font, int &speed, QStringList &lines,
                      QColor &background)
{
    lines.clear();
    const QStringList all = splitLines(depuis_cp1252(
        contents.data(), std::min(contents.size(), kLineMessageFileCap)));
    if (all.size() < 8)
        throw MessageFileError("fichier message de moins de huit lignes");

    MessageFont newFont = font;
    newFont.color = vers_qcolor(parseNumber(all[1]));
    applyHeight(newFont.font, parseNumber(all[2]));
    applyFamily(newFont.font, all[3]);
    applyPointSize(newFont.font, parseNumber(all[4]));
    applyStyle(newFont.font, QStringView(all[5]).trimmed());
    const QColor newBackground = vers_qcolor(parseNumber(all[6]));
    const int newSpeed = parseNumber(all[7]);

    font = newFont;
    background = newBackground;
    speed = newSpeed;
    lines = all.mid(8);
}
