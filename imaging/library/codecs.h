// Per-format pieces shared inside the library. fileInfo() picks the
// information reader by the file's signature; the BMP reader and the program's
// bitmap resources share the device-independent bitmap decoder.
#pragma once

#include "sky.h"
#include "skyio.h"

#include <QImage>
#include <QString>

namespace sky {

int bmpInfo(const QString &path, FileInfo &info);
int pcxInfo(const QString &path, FileInfo &info);
int pngInfo(const QString &path, FileInfo &info);
int jpegInfo(const QString &path, FileInfo &info);
int gifInfo(const QString &path, FileInfo &info);
int tiffInfo(const QString &path, FileInfo &info);

// A device-independent bitmap without file header: a 12-byte core header or a
// longer info header, its colour table, then its bits; `size` bytes at `data`.
// The picture comes back indexed (with its palette) or RGB888.
int decodeDib(const uchar *data, qint64 size, QImage &out);

}  // namespace sky
