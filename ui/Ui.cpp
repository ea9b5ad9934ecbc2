#include "ui/Ui.h"

#include <stdexcept>

namespace ui {
namespace {
Ui*& InForce() {
    static Ui* ui = nullptr;
    return ui;
}
}  // namespace

Ui& TheUi() {
    if (InForce() == nullptr) throw std::logic_error("no windowing back end is in force");
    return *InForce();
}

Ui* UiInForce() { return InForce(); }

void SetUi(Ui* ui) { InForce() = ui; }

}  // namespace ui
