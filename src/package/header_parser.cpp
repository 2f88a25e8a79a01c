#include "package/header_parser.h"

#include "package/line_reader.h"

namespace tarnwick {

namespace {

HeaderParseResult failed(const char* message) { return HeaderParseResult{0, message}; }

void storePackageLine(const HeaderLine& line, UpdatePackage& package) {
    package.genreCode = line.textField(0, 7);
    package.auxCode = line.textField(8, 15);
    package.modelCode = line.textField(16, 23);
    package.modelName = line.textField(24, 31);
    package.packageId = std::string(line.columns(32, 33)) + std::string(line.columns(35, 36));
    package.packageChecksum = line.hexField(40, 47);
    package.componentCount = line.hexField8(48, 55);
    package.statusEntryCount = line.hexField8(56, 63);
    package.baudIndex = line.hexField8(64, 71);
    package.commMask = line.hexField(72, 79);
}

void storeComponentLine(const HeaderLine& line, ComponentEntry& entry) {
    entry.name = line.textField(8, 15);
    entry.versionText = line.textField(16, 23);
    entry.versionNumber = versionNumberOf(entry.versionText);
    entry.checksum = line.hexField(24, 31);
    entry.startAddress = line.hexField(32, 39);
    entry.endAddress = line.hexField(40, 47);
    entry.sumEndAddress = line.hexField(48, 55);
    entry.capacity = line.hexField(56, 63);
    entry.reservedByte = line.hexField8(64, 71);
    entry.writeMethod = line.hexField8(72, 79);
    entry.attributes = line.hexField(80, 87);
    entry.kindMark = static_cast<uint8_t>((entry.attributes >> kKindMarkShift) & 0xFFu);
    entry.switchPath = line.textField(96, 111);
    entry.versionLabel = line.textField(112, 131);
}

// Lines 1 to 3: title, tool identifier, package line.
HeaderParseResult parsePackagePart(std::FILE* file, HeaderLine& line, UpdatePackage& package) {
    if (!line.read(file)) return failed(kMsgUpdateInfoError);
    package.title = line.trimmed();
    if (!line.read(file)) return failed(kMsgUpdateInfoError);
    package.toolId = line.trimmed();
    HeaderLine packageLine;
    if (!packageLine.read(file)) return failed(kMsgUpdateInfoError);
    if (package.toolId != kToolId) return failed(kMsgFormatError);
    if (packageLine.length() != kPackageLineLength) return failed(kMsgUpdateInfoError);
    storePackageLine(packageLine, package);
    if (package.genreCode != kGenreCode || package.modelCode != kModelCode) {
        return failed(kMsgModelCodeError);
    }
    return HeaderParseResult{1, nullptr};
}

HeaderParseResult parseComponentPart(std::FILE* file, HeaderLine& line, UpdatePackage& package) {
    if (package.componentCount == 0 || package.componentCount > kMaxComponents) {
        return failed(kMsgComponentCountError);
    }
    for (uint8_t p = 0; p < package.componentCount; ++p) {
        if (!line.read(file) || line.length() != kComponentLineLength) {
            return failed(kMsgComponentInfoError);
        }
        const uint8_t id = line.hexField8(0, 1);
        if (id == 0 || id > kMaxTargetId) return failed(kMsgTargetIdError);
        package.order[p] = id;
        package.positionOfId[id] = p;
        ComponentEntry& entry = package.components[p];
        entry.id = id;
        storeComponentLine(line, entry);
    }
    return HeaderParseResult{1, nullptr};
}

void handleOtherLine(const std::string& text, UpdatePackage& package) {
    const std::string_view view(text);
    if (view.substr(0, 3) == "MW:") {
        package.selectAllowed = view.substr(3) == "ON";
    }
    // "BP:" and "PV:" lines are known and carry nothing this program uses; any other
    // line is skipped.
}

HeaderParseResult parseOtherPart(std::FILE* file, HeaderLine& line, UpdatePackage& package) {
    for (;;) {
        if (!line.read(file) || line.length() != kOtherLineLength) {
            return failed(kMsgOtherInfoError);
        }
        const std::string text = line.trimmed();
        if (text == kHeaderEnd) return HeaderParseResult{1, nullptr};
        handleOtherLine(text, package);
    }
}

}  // namespace

uint16_t versionNumberOf(const std::string& versionText) {
    const std::string_view view(versionText);
    const size_t lastStart = view.size() > 2 ? view.size() - 2 : 0;
    const uint32_t high = hexValue(view.substr(0, 2)) & 0xFFu;
    const uint32_t low = hexValue(view.substr(lastStart)) & 0xFFu;
    return static_cast<uint16_t>(high * 256u + low);
}

HeaderParseResult parseHeader(std::FILE* file, UpdatePackage& package) {
    HeaderLine line;
    HeaderParseResult r = parsePackagePart(file, line, package);
    if (r.result == 1) r = parseComponentPart(file, line, package);
    if (r.result == 1) r = parseOtherPart(file, line, package);
    return r;
}

}  // namespace tarnwick
