#include "Slogo.h"

TSLOGO::TSLOGO(QWidget *parent) : LogoAnime(QStringLiteral("sl"), 19, parent) {}
