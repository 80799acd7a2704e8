// Test mode: the whole law is judged against its catalogue key or its one alternative form.
#include "app/form1.h"
#include "check/accepted_keys.h"

const std::array<std::string_view, kLawCount> alternativeKeys{
    "yилиxравноxилиy",
    "yиxравноxиy",
    "soxилиyszилиzравноxилиsoyилиzsz",
    "soxиyszиzравноxиsoyиzsz",
    "xиsoyилиzszравноxиyилиxиz",
    "xилиyиzравноsoxилиyszиsoxилиzsz",
    "no_yno_ilino_xравноno_yиno_x",
    "no_yno_ino_xравноno_yилиno_x",
    "",
    "",
    "xилиxиyравноx",
    "",
    "",
    "",
    "no_xилиxравноодин",
    "no_xиxравноноль",
    "нольилиxравноx",
    "одинилиxравноодин",
    "нольиxравноноль",
    "одиниxравноx",
    "xравноno_no_x",
    "ximpyравноyилиno_x",
    "xekvyравноsono_xилиyszиsoxилиno_ysz",
};

void Form1::CheckWholeFormula() {
    RunCheckCycle({&Form1::TestFontRule, &Form1::LeaveRowAsBuilt, &Form1::WholeFormulaAccepted});
}

bool Form1::WholeFormulaAccepted(int law) const {
    const auto i = static_cast<std::size_t>(law - 1);
    const std::string& catalogueKey = state.lawTable[static_cast<std::size_t>(2 * law)];
    return state.formulaKey == catalogueKey ||
           (!alternativeKeys[i].empty() && state.formulaKey == alternativeKeys[i]);
}
