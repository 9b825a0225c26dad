// Our scanner window: resolution and colour or grey, asked before a scan.
#pragma once

#include "sky.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

class TReglagesScanner : public QDialog {
    Q_OBJECT
public:
    explicit TReglagesScanner(QWidget *parent = nullptr);

    void charge(const sky::ScanSettings &reglages);
    sky::ScanSettings reglages() const;

    QSpinBox *resolution;
    QRadioButton *couleur;
    QRadioButton *gris;
};

// Shows the window modally (through the seam); false when the user cancels.
bool demande_reglages_scanner(QWidget *parent, sky::ScanSettings &reglages);
