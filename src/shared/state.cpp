#include "shared/state.h"

#include <cmath>

#include "platform/runtime.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
SharedState g_state;
Timer* g_timer1 = nullptr;
Timer* g_timer2 = nullptr;
std::function<void()> g_pumpWaker;
}  // namespace

void setReceivePumpWaker(std::function<void()> waker) {
    g_pumpWaker = std::move(waker);
}

void wakeReceivePump() {
    if (g_pumpWaker) g_pumpWaker();
}

SharedState& shared() {
    return g_state;
}
void resetSharedState() {
    g_state = SharedState{};
}

void registerPollTimers(Timer* timer1, Timer* timer2) {
    g_timer1 = timer1;
    g_timer2 = timer2;
}

void EnablePollTimers() {
    if (g_timer1) g_timer1->setEnabled(true);
    if (g_timer2) g_timer2->setEnabled(true);
}

void DisablePollTimers() {
    if (g_timer1) g_timer1->setEnabled(false);
    if (g_timer2) g_timer2->setEnabled(false);
}

int IsSupportedModel(const std::string& model) {
    return model == "QVX 410" || model == "RAV 820" || model == "KM-300" || model == "VOK-LSR20" ? 1 : 0;
}

bool SupportedModelKnown() {
    return IsSupportedModel(shared().DeviceModel) == 1 || IsSupportedModel(shared().FileModel) == 1;
}

double Log10(double x) {
    if (x <= 0) raise(kInvalidCall);
    return std::log(x) / std::log(10.0);
}

}  // namespace sq
