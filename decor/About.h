// The about box: the program's name and animated logo over its background
// picture; a click on the picture, the logo or the name closes it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class TLabel3D;
class TLOGO;

class Ta_propos : public QDialog {
    Q_OBJECT

public:
    explicit Ta_propos(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *Image1;
    TLOGO *LOGO1;
    TLabel3D *logiciel;

    void Image1Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void FormCreate();
    void FormShow();
};
