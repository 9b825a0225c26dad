// Copying the product's archive to the user's folder.
#pragma once

#include <QString>

namespace lanceur {

// Copies the whole of `source` to `cible`, replacing an existing file. The copy
// is written under a temporary name beside `cible` and takes its name only once
// complete, so a failed copy leaves neither a partial file nor the temporary one.
bool copie_fichier(const QString &source, const QString &cible);

}  // namespace lanceur
