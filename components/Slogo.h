// The small animated logo of the main window's status line: 19 x 19, frames
// "sl1" to "sl13" (see Logo.h).
#pragma once

#include "Logo.h"

class TSLOGO : public LogoAnime {
    Q_OBJECT

public:
    explicit TSLOGO(QWidget *parent = nullptr);
};
