#include "script_systeme.h"

ScriptSysteme::ScriptSysteme()
{
    systeme::Seams &s = systeme::seams();
    s.boite = [this](const systeme::Boite &b) {
        boites.append(b);
        if (reponses.empty())
            return int(systeme::OK);
        const int r = reponses.front();
        reponses.pop_front();
        return r;
    };
    s.choisir_fichier = [this](const systeme::DemandeFichier &d) {
        demandes.append(d);
        if (fichiers.empty())
            return QString();
        const QString f = fichiers.front();
        fichiers.pop_front();
        return f;
    };
    s.joue_son = [this](const QString &chemin, int) { sons.append(chemin); };
    s.aide = [this](const QString &fichier, int contexte) { aides.append({fichier, contexte}); };
}

ScriptSysteme::~ScriptSysteme() { systeme::restaure(); }

QStringList ScriptSysteme::textes_boites() const
{
    QStringList t;
    for (const systeme::Boite &b : boites)
        t << b.texte;
    return t;
}
