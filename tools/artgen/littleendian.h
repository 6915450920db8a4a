#pragma once

#include <QByteArray>
#include <QtEndian>

/** Appending little-endian numbers, as the Windows bitmap and cursor formats store them. */
namespace LittleEndian {

inline void put8(QByteArray &b, quint8 v)
{
    b.append(char(v));
}

inline void put16(QByteArray &b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

inline void put32(QByteArray &b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

} // namespace LittleEndian
