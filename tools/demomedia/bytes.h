// Little-endian byte helpers for the demo's file writers.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

inline void Put16(QByteArray &out, int v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

inline void Put32(QByteArray &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}
