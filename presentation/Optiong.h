// The display options of record 0, the slideshow's defaults, with
// "Toutes les diapositives": the player then draws every comment with them.
#pragma once

#include "Option.h"

class Toption_affichage_general : public Toption_affichage {
    Q_OBJECT
public:
    explicit Toption_affichage_general(QWidget *parent = nullptr);

    QCheckBox *tout;

    void FormShow() override;
    void BitBtn1Click() override;
};
