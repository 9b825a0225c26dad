#include "cp1252.h"

namespace {

// Characters of bytes 0x80..0x9F; 0 where the code page leaves the byte undefined.
constexpr char16_t kPlage80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<char> octet_de(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kPlage80[i] == c || (kPlage80[i] == 0 && c == 0x80 + i))
            return char(0x80 + i);
    return std::nullopt;
}

}  // namespace

QString depuis_cp1252(const char *octets, qsizetype taille)
{
    QString texte(taille, Qt::Uninitialized);
    for (qsizetype i = 0; i < taille; ++i) {
        const auto o = static_cast<unsigned char>(octets[i]);
        char16_t c = o;
        if (o >= 0x80 && o <= 0x9F)
            c = kPlage80[o - 0x80] ? kPlage80[o - 0x80] : char16_t(o);
        texte[i] = QChar(c);
    }
    return texte;
}

std::optional<QByteArray> vers_cp1252(const QString &texte)
{
    QByteArray octets;
    octets.reserve(texte.size());
    for (QChar c : texte) {
        const auto o = octet_de(c.unicode());
        if (!o)
            return std::nullopt;
        octets.append(*o);
    }
    return octets;
}

QValidator::State ValidateurCp1252::validate(QString &texte, int &) const
{
    return vers_cp1252(texte) ? Acceptable : Invalid;
}
