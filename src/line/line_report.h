// What a production line run says at its end: the stations it ran, one line each, or one
// JSON document.
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

// How one station of the line ended.
struct StationOutcome {
    int number = 0;
    int code = -1;         // the station's exit status
    std::string word;      // "SUCCESS" or "ERROR" from its slot, or what the status says
    std::string error;     // the slot's error line, empty when none
    double elapsedSeconds = 0;
};

// "FIRST-LAST" of two-digit station numbers (1..20, FIRST <= LAST); a single "NN" is one
// station. false with the problem for anything else.
bool parseStationRange(const std::string& text, int& first, int& last, std::string& problem);

// The result word of a station whose slot holds `label` and which exited with `code`: the
// slot's result word when it has one, else "NO RESULT" (a declined question), "BUSY" (its
// lock was held), "STOPPED" (a signal), or "ERROR".
std::string outcomeWord(const std::string& label, int code);

// One line a station: "NN  WORD       code C   E.E s  ERROR-LINE".
std::string outcomeLines(const std::vector<StationOutcome>& outcomes);

// {"stations": [{"station", "result", "code", "error", "elapsed"}...], "succeeded": n, "failed": n}
std::string outcomeJson(const std::vector<StationOutcome>& outcomes);

}  // namespace tarnwick
