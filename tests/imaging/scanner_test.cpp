// Scanner calls: the busy flag, the source choice and acquisitions from SANE's test backend.
#include "gris.h"
#include "imagefile.h"
#include "reglages_scanner.h"
#include "sky.h"

#include "sane_test.h"
#include "script_systeme.h"
#include "ecran.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

// Answers our scanner window with these settings, or cancels it.
struct ScannerWindowAnswer {
    int resolution = 25;
    bool colour = true;
    bool accept = true;
    int shown = 0;
    bool busyWhileShown = false;

    void install()
    {
        systeme::seams().execute = [this](QDialog &dialog) {
            ++shown;
            busyWhileShown = ScanBusy;
            auto *window = dynamic_cast<TReglagesScanner *>(&dialog);
            if (!window)
                return int(QDialog::Rejected);
            capture_ecran(window, QStringLiteral("reglages_scanner"));
            window->resolution->setValue(resolution);
            (colour ? window->couleur : window->gris)->setChecked(true);
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        };
    }
};

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

class Scanner : public ::testing::Test {
protected:
    void SetUp() override { utilise_sane_de_test(); }
    void TearDown() override
    {
        ProgressCallback = nullptr;
        systeme::restaure();
    }
    ScriptSysteme script;
};

}  // namespace

TEST(ScannerBusy, ANestedCallIsRefusedWithoutReachingTheLibrary)
{
    int chooserCalls = 0;
    ScannerWindowAnswer window;
    window.install();
    systeme::seams().choisir_source_scanner = [&](const QStringList &, QWidget *) {
        ++chooserCalls;
        return 0;
    };
    BitmapObject b;
    b.bitmap = QImage(2, 2, QImage::Format_RGB888);

    ScanBusy = true;
    EXPECT_FALSE(AcquireScan(nullptr, 24, false, true, b));
    EXPECT_FALSE(SelectScanSource(nullptr));
    EXPECT_TRUE(ScanBusy);  // still the first call's
    ScanBusy = false;
    systeme::restaure();

    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(chooserCalls, 0);
    EXPECT_EQ(b.bitmap.size(), QSize(2, 2));
}

TEST_F(Scanner, SourcesAreTheTestDevicesAndTheChoiceIsRemembered)
{
    const QStringList sources = sky::scanSources();
    ASSERT_EQ(sources.size(), 2);
    EXPECT_TRUE(sources[0].startsWith(QStringLiteral("test:0 — "))) << sources[0].toStdString();

    QStringList offered;
    bool busyWhileChoosing = false;
    int answer = 1;
    systeme::seams().choisir_source_scanner = [&](const QStringList &list, QWidget *) {
        offered = list;
        busyWhileChoosing = ScanBusy;
        return answer;
    };
    EXPECT_TRUE(SelectScanSource(nullptr));
    EXPECT_EQ(offered, sources);
    EXPECT_TRUE(busyWhileChoosing);
    EXPECT_FALSE(ScanBusy);
    EXPECT_EQ(sky::currentScanSource(), QStringLiteral("test:1"));

    answer = -1;  // the user closes the choice: no change, no message
    EXPECT_FALSE(SelectScanSource(nullptr));
    EXPECT_EQ(sky::currentScanSource(), QStringLiteral("test:1"));
    EXPECT_TRUE(script.boites.isEmpty());
    EXPECT_FALSE(ScanBusy);
}

TEST_F(Scanner, AcquisitionThroughOurWindowGivesAColourPictureOfTheAskedResolution)
{
    ScannerWindowAnswer window;
    window.install();
    int nested = sky::Ok;
    bool nestedRefused = false;
    auto answer = systeme::seams().execute;
    systeme::seams().execute = [&](QDialog &dialog) {
        BitmapObject other;
        nestedRefused = !AcquireScan(nullptr, 24, false, false, other) && other.empty();
        QImage direct;
        nested = sky::acquireScan(24, false, {}, direct, {});
        return answer(dialog);
    };
    QList<int> percents;
    ProgressCallback = [&](int percent) {
        percents.append(percent);
        return 1;
    };

    BitmapObject b;
    ASSERT_TRUE(AcquireScan(nullptr, 24, false, true, b));
    EXPECT_EQ(window.shown, 1);
    EXPECT_TRUE(window.busyWhileShown);
    EXPECT_TRUE(nestedRefused);
    EXPECT_EQ(nested, sky::ScannerBusy);
    EXPECT_FALSE(ScanBusy);
    EXPECT_EQ(b.bitmap.size(), QSize(78, 98));  // 80 x 100 mm at 25 dpi
    EXPECT_EQ(b.bitmap.format(), QImage::Format_RGB888);
    EXPECT_GT(distinctColours(b.bitmap), 4);
    EXPECT_FALSE(allGrey(b.bitmap));
    ASSERT_GT(percents.size(), 2);  // several reads of at most 2048 bytes
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.last(), 100);
    EXPECT_TRUE(script.boites.isEmpty());
}

TEST_F(Scanner, GreyAndLowerDepths)
{
    ScannerWindowAnswer window;
    window.colour = false;
    window.install();
    BitmapObject grey;
    ASSERT_TRUE(AcquireScan(nullptr, 24, false, true, grey));
    EXPECT_EQ(grey.bitmap.size(), QSize(78, 98));
    EXPECT_TRUE(allGrey(grey.bitmap));
    EXPECT_GT(distinctColours(grey.bitmap), 1);

    window.colour = true;
    BitmapObject indexed;
    ASSERT_TRUE(AcquireScan(nullptr, 8, false, true, indexed));
    EXPECT_EQ(indexed.bitmap.format(), QImage::Format_Indexed8);
    EXPECT_LE(indexed.palette().size(), 256);
    EXPECT_EQ(indexed.bitmap.size(), QSize(78, 98));

    BitmapObject mono;
    ASSERT_TRUE(AcquireScan(nullptr, 1, false, true, mono));
    EXPECT_EQ(mono.bitmap.format(), QImage::Format_Mono);
}

TEST_F(Scanner, WithoutOurWindowTheDefaultsAreUsed)
{
    ScannerWindowAnswer window;
    window.install();
    BitmapObject b;
    ASSERT_TRUE(AcquireScan(nullptr, 24, false, false, b));
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(b.bitmap.size(), QSize(314, 393));  // 100 dpi, colour
    EXPECT_FALSE(allGrey(b.bitmap));
}

TEST_F(Scanner, CancellingOurWindowOrStoppingFailsSilentlyAndFreesTheScanner)
{
    ScannerWindowAnswer window;
    window.accept = false;
    window.install();
    BitmapObject b;
    b.bitmap = QImage(3, 3, QImage::Format_RGB888);
    EXPECT_FALSE(AcquireScan(nullptr, 24, false, true, b));
    EXPECT_TRUE(b.empty());
    EXPECT_FALSE(ScanBusy);

    window.accept = true;
    QList<int> percents;
    ProgressCallback = [&](int percent) {
        percents.append(percent);
        return percent < 30 ? 1 : 0;
    };
    EXPECT_FALSE(AcquireScan(nullptr, 24, false, true, b));
    EXPECT_TRUE(b.empty());
    EXPECT_FALSE(ScanBusy);
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_GE(percents.last(), 30);
    EXPECT_LT(percents.last(), 100);

    ProgressCallback = nullptr;  // the device was given back: it scans again
    EXPECT_TRUE(AcquireScan(nullptr, 24, false, true, b));
    EXPECT_EQ(b.bitmap.size(), QSize(78, 98));
    EXPECT_TRUE(script.boites.isEmpty());
}
