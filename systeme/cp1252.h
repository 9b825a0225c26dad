// Windows-1252, the code page of the stored texts (slideshow records, message files).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

QString depuis_cp1252(const char *octets, qsizetype taille);
inline QString depuis_cp1252(const QByteArray &octets)
{
    return depuis_cp1252(octets.constData(), octets.size());
}
// The bytes of `texte`, or nothing when a character has no place in the code page.
std::optional<QByteArray> vers_cp1252(const QString &texte);

#include <QValidator>

// Refuses, as they are typed or pasted, the characters a stored text cannot hold.
class ValidateurCp1252 : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &texte, int &position) const override;
};
