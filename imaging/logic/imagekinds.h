// What the image control makes of a file, by its name alone.
#pragma once

#include "formats.h"

#include <QImage>
#include <QString>

enum class ImageKind {
    Picture,        // a file of one of the imaging library's formats (PictureFormatOfPath)
    Resource,       // ".RES": a bitmap among the program's resources
    Metafile,       // ".WMF"
    Icon,           // ".ICO"
    TaggedMessage,  // ".SCM": a line scrolling from right to left
    LineMessage,    // ".CMS": lines rising from the bottom
    Other,
};

// The extension in upper case, dot included, cut to its first four characters:
// "photo.jpeg" gives ".JPE". Both "/" and "\" end a folder name.
QString ExtensionKey(const QString &path);
ImageKind KindOfPath(const QString &path);
// The library's format of a picture file by its extension; null for the other kinds.
const sky::FormatRow *PictureFormatOfPath(const QString &path);

// The resource a ".RES" path names: the file name without its folder (at most 64
// characters), cut at its first dot. "C:\IMAGES\LOGO.RES" names "LOGO".
QString ResourceNameOf(const QString &path);

// Bytes of a picture's device-independent form: its header with the colour table,
// then its rows of bits, each padded to four bytes.
qint64 DibByteSize(const QImage &image);
