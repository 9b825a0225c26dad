// Records the message boxes shown while it lives, answering each with a fixed
// button, and puts the real seams back at the end.
#pragma once

#include "systeme.h"

#include <QList>

class BoitesVues {
public:
    explicit BoitesVues(int reponse = systeme::OK)
    {
        systeme::seams().boite = [this, reponse](const systeme::Boite &b) {
            liste.append(b);
            return reponse;
        };
    }
    ~BoitesVues() { systeme::restaure(); }
    BoitesVues(const BoitesVues &) = delete;
    BoitesVues &operator=(const BoitesVues &) = delete;

    QList<systeme::Boite> liste;
};
