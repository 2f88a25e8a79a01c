#include "history/record_format.h"

#include <cstdio>

namespace tarnwick {

namespace {

std::string hexId(uint8_t id) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", id);
    return text;
}

std::string componentLine(const ComponentRecord& c) {
    char line[160];
    std::snprintf(line, sizeof line, "%02X:%-12s %-20s %s", c.id, c.name.c_str(), c.packageVersion.c_str(),
                  outcomeName(c.outcome));
    std::string out = line;
    if (c.reason.empty()) return out;
    return out + (c.outcome == ComponentOutcome::Failed ? ": " + c.reason : " (" + c.reason + ")");
}

std::string resultWord(const RunRecord& r) {
    if (r.interrupted) return "interrupted";
    if (r.resultCode < 0) return "no result";
    return r.resultCode == 0 ? "OK" : "failed";
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (const std::string& f : fields) row += (row.empty() ? "" : ",") + csvField(f);
    return row + "\r\n";
}

}  // namespace

bool handledAnyComponent(const RunRecord& run) {
    for (const ComponentRecord& c : run.components) {
        if (c.outcome != ComponentOutcome::NotAttempted && c.outcome != ComponentOutcome::NotOverLink) return true;
    }
    return false;
}

std::string summaryText(const RunRecord& run) {
    std::string out;
    for (const ComponentRecord& c : run.components) out += componentLine(c) + "\n";
    return out;
}

nlohmann::json componentsJson(const RunRecord& run) {
    nlohmann::json list = nlohmann::json::array();
    for (const ComponentRecord& c : run.components) {
        list.push_back({{"id", hexId(c.id)},
                        {"name", c.name},
                        {"version", c.packageVersion},
                        {"product_version", c.productVersion},
                        {"outcome", outcomeName(c.outcome)},
                        {"reason", c.reason},
                        {"check", c.check}});
    }
    return list;
}

nlohmann::json runJson(const RunRecord& r) {
    return {{"run", r.runId},
            {"kind", kindName(r.kind)},
            {"start", r.startUtc},
            {"end", r.endUtc},
            {"host", r.host},
            {"front_end", r.frontEnd},
            {"link", r.link},
            {"product", {{"model", r.model}, {"serial", r.serialNumber}, {"mac", r.macAddress},
                         {"package_id", r.packageIdBefore}}},
            {"package", {{"file", r.packageFile}, {"package_id", r.packageId}, {"model", r.packageModel},
                         {"sha256", r.packageSha256}}},
            {"components", componentsJson(r)},
            {"result", {{"code", r.resultCode}, {"text", r.resultText}}},
            {"error_boxes", r.errorBoxes},
            {"normal_mode_confirmed", r.normalModeConfirmed},
            {"interrupted", r.interrupted}};
}

std::string historyTable(const std::vector<RunRecord>& runs) {
    std::string out = "RUN    START (UTC)           KIND    SERIAL        MODEL     PACKAGE     RESULT\n";
    for (const RunRecord& r : runs) {
        char line[256];
        std::snprintf(line, sizeof line, "%-6lld %-21s %-7s %-13s %-9s %-11s %s", static_cast<long long>(r.runId),
                      r.startUtc.c_str(), kindName(r.kind), r.serialNumber.c_str(), r.model.c_str(),
                      r.packageId.c_str(), resultWord(r).c_str());
        out += line;
        if (!r.resultText.empty()) out += ": " + r.resultText;
        out += "\n";
    }
    return out;
}

std::string runText(const RunRecord& r) {
    std::string out = "run " + std::to_string(r.runId) + " (" + kindName(r.kind) + ")\n";
    const std::pair<const char*, std::string> rows[] = {
        {"start", r.startUtc},      {"end", r.endUtc},
        {"host", r.host},           {"front end", r.frontEnd},
        {"link", r.link},           {"model", r.model},
        {"serial", r.serialNumber}, {"MAC address", r.macAddress},
        {"package id before", r.packageIdBefore},
        {"package", r.packageFile}, {"package id", r.packageId},
        {"package model", r.packageModel}, {"SHA-256", r.packageSha256},
        {"result", resultWord(r) + (r.resultCode >= 0 ? " (" + std::to_string(r.resultCode) + ") " + r.resultText : "")},
        {"normal mode", r.normalModeConfirmed ? "confirmed" : "not confirmed"},
    };
    for (const auto& row : rows) out += std::string(row.first) + ": " + row.second + "\n";
    for (const ComponentRecord& c : r.components) {
        out += "  " + componentLine(c);
        if (!c.productVersion.empty()) out += " [product " + c.productVersion + "]";
        out += c.check.empty() ? "\n" : " [check: " + c.check + "]\n";
    }
    for (const std::string& box : r.errorBoxes) out += "error: " + box + "\n";
    return out;
}

std::string historyCsv(const std::vector<RunRecord>& runs) {
    std::string out = csvRow({"run", "start", "end", "kind", "host", "front end", "link", "model", "serial", "mac",
                              "package file", "package id", "package sha256", "result code", "result",
                              "component id", "component", "package version", "product version", "outcome",
                              "reason", "check"});
    for (const RunRecord& r : runs) {
        const std::vector<std::string> run = {std::to_string(r.runId), r.startUtc, r.endUtc, kindName(r.kind), r.host,
                                              r.frontEnd, r.link, r.model, r.serialNumber, r.macAddress,
                                              r.packageFile, r.packageId, r.packageSha256,
                                              std::to_string(r.resultCode), r.resultText};
        if (r.components.empty()) out += csvRow(run);
        for (const ComponentRecord& c : r.components) {
            std::vector<std::string> row = run;
            row.insert(row.end(), {hexId(c.id), c.name, c.packageVersion, c.productVersion, outcomeName(c.outcome),
                                   c.reason, c.check});
            out += csvRow(row);
        }
    }
    return out;
}

}  // namespace tarnwick
