// Feeds arbitrary bytes to both scrolling-message parsers: they may throw
// MessageFileError, never crash or read out of bounds.
#include "messagefile.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // fonts and the system colours' palette
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MessageFont font;
    int speed = 0;
    QString message;
    QStringList lines;
    QColor background;
    try {
        parseTaggedMessage(bytes, font, speed, message, background);
    } catch (const MessageFileError &) {
    }
    try {
        parseLineMessage(bytes, font, speed, lines, background);
    } catch (const MessageFileError &) {
    }
    return 0;
}
