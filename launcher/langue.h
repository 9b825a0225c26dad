// The language window: five flags that light up under the mouse; a click on
// the lit flag chooses its language and closes the window for good.
#pragma once

#include <QWidget>
#include <array>

#include "tables.h"

namespace lanceur {

class Image;

class Langue : public QWidget {
    Q_OBJECT
public:
    // `chemin_appli`: the launcher's folder, ending in a separator; the window's
    // caption is in language `code_langue`.
    Langue(const QString &chemin_appli, const QString &code_langue, QWidget *parent);

signals:
    void langue_choisie(const QString &code);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void Image2_MouseMove(int drapeau);
    void Form_MouseMove();
    void Image3_Click(int drapeau);

    const QString CheminAppli;
    int DrapeauActif = AUCUN_DRAPEAU;
    std::array<Image *, NOMBRE_DRAPEAUX> Image2{};
    std::array<Image *, NOMBRE_DRAPEAUX + 1> Image3{};
    Image *Image1;
};

}  // namespace lanceur
