// The procedures over Ethernet are not built yet. Until they are, the buttons say so
// plainly instead of pretending to have done something.
#include "app/main_window.h"

namespace tarnwick {

namespace {
constexpr const char* kNotAvailable = "This build cannot reach the product over Ethernet yet. Use RS-232C.";
}

void MainWindow::checkEthernet() { showError(kNotAvailable); }
void MainWindow::runEthernetUpdate() { showError(kNotAvailable); }

}  // namespace tarnwick
