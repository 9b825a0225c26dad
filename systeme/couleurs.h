// Stored colours: a signed 32-bit value, low three bytes red, green, blue; a
// value with the top bit set names a system colour (a palette role here).
#pragma once

#include <QColor>
#include <QtGlobal>

QColor vers_qcolor(qint32 couleur);
qint32 depuis_qcolor(const QColor &couleur);

constexpr qint32 clBlack = 0;
constexpr qint32 clActiveCaption = qint32(0x80000002u);
constexpr qint32 clBtnFace = qint32(0x8000000Fu);
