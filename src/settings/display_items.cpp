#include "settings/display_items.h"

#include "platform/vb_error.h"

namespace sq {

namespace {

using T = LanguageTexts;

// The order is the wire format: the peaks come C, Z, A; the percentile levels per weighting A, C, Z
// as 10, 50, 90, 95, 05, each for F, S, I; the LAEQ percentiles as 05, 10, 50, 90, 95.
const std::array<std::string T::*, kDisplayItemCount> kItems = {
    &T::TxtSystemTime, &T::TxtSPLAF,  &T::TxtSPLAS,  &T::TxtSPLAI,      &T::TxtSPLCF,   &T::TxtSPLCS,
    &T::TxtSPLCI,      &T::TxtSPLZF,  &T::TxtSPLZS,  &T::TxtSPLZI,      &T::TxtBattery, &T::TxtMemRemain,
    &T::TxtDuration,   &T::TxtDose,   &T::TxtPDose,  &T::TxtTWA,        &T::TxtPTWA,    &T::TxtLAVG,
    &T::TxtLEPd,       &T::TxtPLEPd,  &T::TxtLAEQ,   &T::TxtLCEQ,       &T::TxtLZEQ,    &T::TxtLAE,
    &T::TxtLCE,        &T::TxtLZE,    &T::TxtEA,     &T::TxtEC,         &T::TxtEZ,      &T::TxtPKC,
    &T::TxtPKZ,        &T::TxtPKA,    &T::TxtLAFMax, &T::TxtLAFMin,     &T::TxtLASMax,  &T::TxtLASMin,
    &T::TxtLAIMax,     &T::TxtLAIMin, &T::TxtLCFMax, &T::TxtLCFMin,     &T::TxtLCSMax,  &T::TxtLCSMin,
    &T::TxtLCIMax,     &T::TxtLCIMin, &T::TxtLZFMax, &T::TxtLZFMin,     &T::TxtLZSMax,  &T::TxtLZSMin,
    &T::TxtLZIMax,     &T::TxtLZIMin, &T::TxtLAF10,  &T::TxtLAS10,      &T::TxtLAI10,   &T::TxtLAF50,
    &T::TxtLAS50,      &T::TxtLAI50,  &T::TxtLAF90,  &T::TxtLAS90,      &T::TxtLAI90,   &T::TxtLAF95,
    &T::TxtLAS95,      &T::TxtLAI95,  &T::TxtLAF05,  &T::TxtLAS05,      &T::TxtLAI05,   &T::TxtLCF10,
    &T::TxtLCS10,      &T::TxtLCI10,  &T::TxtLCF50,  &T::TxtLCS50,      &T::TxtLCI50,   &T::TxtLCF90,
    &T::TxtLCS90,      &T::TxtLCI90,  &T::TxtLCF95,  &T::TxtLCS95,      &T::TxtLCI95,   &T::TxtLCF05,
    &T::TxtLCS05,      &T::TxtLCI05,  &T::TxtLZF10,  &T::TxtLZS10,      &T::TxtLZI10,   &T::TxtLZF50,
    &T::TxtLZS50,      &T::TxtLZI50,  &T::TxtLZF90,  &T::TxtLZS90,      &T::TxtLZI90,   &T::TxtLZF95,
    &T::TxtLZS95,      &T::TxtLZI95,  &T::TxtLZF05,  &T::TxtLZS05,      &T::TxtLZI05,   &T::TxtLAEQ05,
    &T::TxtLAEQ10,     &T::TxtLAEQ50, &T::TxtLAEQ90, &T::TxtLAEQ95,     &T::TxtLEX8H,   &T::TxtPLEX8H,
    &T::TxtEXPh,       &T::TxtEXPs,   &T::TxtNEN,    &T::TxtExceedance, &T::TxtOFF,
};

}  // namespace

const std::array<std::string LanguageTexts::*, kDisplayItemCount>& DisplayItems() {
    return kItems;
}

int DisplayItemCode(int index) {
    if (index < 0 || index >= kDisplayItemCount) raise(kInvalidCall);
    if (index <= 17) return index;
    if (index <= 31) return index + 1;
    if (index <= 103) return index + 2;
    return index + 26;
}

int DisplayItemIndex(int code) {
    if (code >= 19 && code <= 32) return code - 1;
    if (code >= 34 && code <= 105) return code - 2;
    if (code >= 106) return code - 26;
    return code;
}

bool isMaxMinItem(int index) {
    return index >= 32 && index <= 49;
}

}  // namespace sq
