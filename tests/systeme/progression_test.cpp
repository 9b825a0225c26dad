#include "progression.h"

#include <QProgressBar>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window destroyed with its gauge leaves nothing behind in the registry.
TEST(Progression, UneFenetreDetruiteSortDuRegistre)
{
    auto partie = std::make_unique<QWidget>();
    ajoute_jauge({partie.get(), new QProgressBar(partie.get()), true});
    partie->show();
    partie.reset();

    QWidget reste;
    auto *jauge = new QProgressBar(&reste);
    ajoute_jauge({&reste, jauge, true});
    reste.show();
    EXPECT_EQ(progression(30), 1);
    EXPECT_EQ(jauge->value(), 30);
    retire_jauges();
}

}  // namespace
