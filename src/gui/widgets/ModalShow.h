#pragma once

class QWidget;

// Shows a window modally: the call returns only once the window has been
// hidden or destroyed, and the other windows take no input meanwhile.
namespace ModalShow {
void exec(QWidget& window);
} // namespace ModalShow
