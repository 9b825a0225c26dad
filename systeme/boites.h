// The message box behind the seam's boite, built apart so that its layout can be checked.
#pragma once

#include "systeme.h"

#include <memory>

class QMessageBox;

namespace systeme {

// The message box, ready to run (the real boite runs it): each button carries the
// answer it gives in its property "reponse"; wide enough for its caption.
std::unique_ptr<QMessageBox> boite_prete(const Boite &boite);

}  // namespace systeme
