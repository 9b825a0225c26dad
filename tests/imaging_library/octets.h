// Files crafted byte by byte for the decoders' tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>

class Octets {
public:
    Octets &u8(int v)
    {
        data.append(char(v));
        return *this;
    }
    Octets &u16(int v) { return u8(v & 0xFF).u8(v >> 8 & 0xFF); }
    Octets &u32(qint64 v) { return u16(int(v & 0xFFFF)).u16(int(v >> 16 & 0xFFFF)); }
    Octets &bytes(std::initializer_list<int> values)
    {
        for (const int v : values)
            u8(v);
        return *this;
    }
    Octets &repeat(int v, int count)
    {
        data.append(QByteArray(count, char(v)));
        return *this;
    }
    const uchar *ptr() const { return reinterpret_cast<const uchar *>(data.constData()); }
    qint64 size() const { return data.size(); }

    QByteArray data;
};

inline void saveFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray loadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
