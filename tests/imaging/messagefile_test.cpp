// Scrolling-message files: the tagged (".SCM") and line (".CMS") formats.
#include "imagefile.h"

#include "ecran.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

struct Targets {
    MessageFont font;
    int speed = 7;
    QString message = QStringLiteral("avant");
    QStringList lines = {QStringLiteral("ancienne")};
    QColor background = Qt::white;

    Targets()
    {
        font.font.setFamily(QStringLiteral("Liberation Serif"));
        font.font.setPointSize(30);
        font.font.setBold(true);
        font.color = Qt::black;
    }
    void tagged(QByteArrayView bytes) { parseTaggedMessage(bytes, font, speed, message, background); }
    void lined(QByteArrayView bytes) { parseLineMessage(bytes, font, speed, lines, background); }
};

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(TaggedMessage, EveryFieldFromAFileStartingWithTheColourTag)
{
    Targets t;
    t.tagged("/fc|65280/fh|-20/fn|Liberation Sans/fs|/ft|0101/bc|16711680/sp|3/sm| Bonjour /eo|");
    EXPECT_EQ(t.font.color, QColor(0, 255, 0));  // low byte red: 0x00FF00 is green
    EXPECT_EQ(t.font.font.pixelSize(), 20);       // the size field is empty: the height stays
    EXPECT_EQ(t.font.font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_FALSE(t.font.font.bold());
    EXPECT_TRUE(t.font.font.italic());
    EXPECT_FALSE(t.font.font.underline());
    EXPECT_TRUE(t.font.font.strikeOut());
    EXPECT_EQ(t.background, QColor(0, 0, 255));
    EXPECT_EQ(t.speed, 3);
    EXPECT_EQ(t.message, QStringLiteral(" Bonjour "));
}

TEST(TaggedMessage, MissingFieldsTakeTheirDefaults)
{
    Targets t;
    t.tagged("un texte sans balises");
    EXPECT_EQ(t.message, QStringLiteral(" Invallid message format ! "));
    EXPECT_EQ(t.font.color, QColor(255, 0, 0));
    EXPECT_EQ(t.font.font.pixelSize(), 13);
    EXPECT_EQ(t.font.font.family(), QStringLiteral("SYSTEM"));
    EXPECT_EQ(t.background, QColor(128, 0, 0));
    EXPECT_EQ(t.speed, 1);
    EXPECT_TRUE(t.font.font.bold());  // style: unchanged

    Targets sansFin;  // "/sm|" present but its end tag is not: missing as well
    sansFin.tagged("/fc|0/fh|-10/fn|Arial/fs|12/ft|0000/bc|0/sp|2/sm|Bonjour");
    EXPECT_EQ(sansFin.message, QStringLiteral(" Invallid message format ! "));
    EXPECT_EQ(sansFin.speed, 2);
    EXPECT_EQ(sansFin.font.font.pointSize(), 12);  // the size comes after the height
}

TEST(TaggedMessage, EmptyValuesLeaveTheTargetsAlone)
{
    Targets t;
    t.tagged("/fc|/fh|/fn|/fs|/ft|/bc|/sp|\r\n/sm|/eo|");
    EXPECT_EQ(t.font.color, QColor(Qt::black));
    EXPECT_EQ(t.font.font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(t.font.font.pointSize(), 30);
    EXPECT_TRUE(t.font.font.bold());
    EXPECT_EQ(t.background, QColor(Qt::white));
    EXPECT_EQ(t.speed, 7);
    EXPECT_EQ(t.message, QStringLiteral("avant"));
}

TEST(TaggedMessage, SpacesAroundSettingsAndWindowsLetters)
{
    Targets t;
    t.tagged("/fc| 255\r\n/fh|-13/fn| Arial \r\n/fs|14/ft|1/bc|0/sp|0/sm|Caf\xe9 \x80 10/eo|");
    EXPECT_EQ(t.font.color, QColor(255, 0, 0));
    EXPECT_EQ(t.font.font.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(t.font.font.bold());
    EXPECT_FALSE(t.font.font.italic());  // a short style leaves the rest off
    EXPECT_EQ(t.speed, 0);
    EXPECT_EQ(t.message, QStringLiteral("Café € 10"));
}

TEST(TaggedMessage, MalformedNumberThrowsAndChangesNothing)
{
    for (const char *file : {"/fc|12/fh|-1/fn|A/fs|9/ft|0/bc|0/sp|vite/sm|x/eo|",
                             "/fc|0x10/fh|", "/bc|99999999999/sp|"}) {
        Targets t;
        EXPECT_THROW(t.tagged(file), MessageFileError) << file;
        EXPECT_EQ(t.speed, 7);
        EXPECT_EQ(t.font.color, QColor(Qt::black));
        EXPECT_EQ(t.message, QStringLiteral("avant"));
    }
}

TEST(TaggedMessage, MissingFileLeavesEverythingUnchanged)
{
    DossierTemporaire dossier;
    Targets t;
    EXPECT_FALSE(ReadTaggedMessageFile(dossier.chemin("absent.scm"), t.font, t.speed, t.message,
                                       t.background));
    EXPECT_EQ(t.message, QStringLiteral("avant"));
    EXPECT_EQ(t.speed, 7);
    EXPECT_EQ(t.font.font.family(), QStringLiteral("Liberation Serif"));

    write(dossier.chemin("msg.scm"), "/sp|4/sm|Salut/eo|");
    EXPECT_TRUE(ReadTaggedMessageFile(dossier.chemin("msg.scm"), t.font, t.speed, t.message,
                                      t.background));
    EXPECT_EQ(t.message, QStringLiteral("Salut"));
    EXPECT_EQ(t.speed, 4);
}

TEST(LineMessage, HeaderLinesThenMessageLines)
{
    Targets t;
    t.lined("titre\r\n16711680\r\n-16\r\nLiberation Mono\r\n0\r\n0010\r\n65535\r\n2\r\n"
            "Premi\xe8re ligne\r\n\r\n  Trois  \r\n");
    EXPECT_EQ(t.font.color, QColor(0, 0, 255));
    EXPECT_EQ(t.font.font.pixelSize(), 16);  // size 0 keeps the height
    EXPECT_EQ(t.font.font.family(), QStringLiteral("Liberation Mono"));
    EXPECT_FALSE(t.font.font.bold());
    EXPECT_TRUE(t.font.font.underline());
    EXPECT_EQ(t.background, QColor(255, 255, 0));
    EXPECT_EQ(t.speed, 2);
    EXPECT_EQ(t.lines, (QStringList{"Première ligne", "", "  Trois  "}));
}

TEST(LineMessage, EightLinesGiveAnEmptyListAndTheLastLineNeedsNoBreak)
{
    Targets t;
    t.lined("x\n255\n-13\nArial\n11\n1000\n0\n5");
    EXPECT_TRUE(t.lines.isEmpty());
    EXPECT_EQ(t.speed, 5);
    EXPECT_EQ(t.font.font.pointSize(), 11);  // the size comes after the height

    t.lined("x\n255\n-13\nArial\n11\n1000\n0\n5\nfin");
    EXPECT_EQ(t.lines, QStringList{"fin"});
}

TEST(LineMessage, ShortFilesAndMalformedNumbersThrow)
{
    Targets court;
    EXPECT_THROW(court.lined("x\n255\n-13\nArial\n11\n1000\n0\n"), MessageFileError);
    EXPECT_TRUE(court.lines.isEmpty());  // emptied first
    EXPECT_EQ(court.speed, 7);

    Targets vide;
    EXPECT_THROW(vide.lined(""), MessageFileError);

    Targets mauvais;
    EXPECT_THROW(mauvais.lined("x\n255\n-13\nArial\ndouze\n1000\n0\n1\nligne"), MessageFileError);
    EXPECT_TRUE(mauvais.lines.isEmpty());
    EXPECT_EQ(mauvais.font.font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(mauvais.background, QColor(Qt::white));
}

TEST(LineMessage, OnlyTheFirst65527BytesCount)
{
    QByteArray file = "x\n0\n-13\nArial\n10\n0000\n0\n1\n";
    const qsizetype header = file.size();
    file += QByteArray(kLineMessageFileCap - header - 3, 'a') + "\nbcdef\nghi\n";
    Targets t;
    t.lined(file);
    ASSERT_EQ(t.lines.size(), 2);
    EXPECT_EQ(t.lines[0].size(), kLineMessageFileCap - header - 3);
    EXPECT_EQ(t.lines[1], QStringLiteral("bc"));
}

TEST(LineMessage, MissingFileEmptiesTheListAndReturnsFalse)
{
    DossierTemporaire dossier;
    Targets t;
    EXPECT_FALSE(ReadLineMessageFile(dossier.chemin("absent.cms"), t.font, t.speed, t.lines,
                                     t.background));
    EXPECT_TRUE(t.lines.isEmpty());
    EXPECT_EQ(t.speed, 7);

    write(dossier.chemin("credits.cms"), "x\n255\n-13\nArial\n0\n0\n0\n9\nun\ndeux\n");
    EXPECT_TRUE(ReadLineMessageFile(dossier.chemin("credits.cms"), t.font, t.speed, t.lines,
                                    t.background));
    EXPECT_EQ(t.lines, (QStringList{"un", "deux"}));
    EXPECT_EQ(t.speed, 9);
}
