#pragma once

// Every section and key of the settings file "TOVA.ini", with its default: the
// one place their names are spelled. Keys marked per-slot exist once for each
// script slot 0 to 7, written as the fixed part followed by the slot number.

#include <QLatin1StringView>
#include <QString>
#include <array>

namespace SettingsKeys {

// The settings file's name, made absolute against the program folder.
inline constexpr QLatin1StringView sFileName("TOVA.ini");

// Number of script slots; per-slot keys are numbered 0 to kScriptSlots - 1.
inline constexpr int kScriptSlots = 8;

struct NumberKey {
    QLatin1StringView section;
    QLatin1StringView name;
    int lnDefault;
    bool bPerSlot;
};

struct TextKey {
    QLatin1StringView section;
    QLatin1StringView name;
    QLatin1StringView sDefault;
    bool bPerSlot;
};

// The key as it stands in the file: per-slot keys carry the slot number.
inline QString keyName(QLatin1StringView name, bool bPerSlot, int lnSlot) {
    return bPerSlot ? QString(name) + QString::number(lnSlot) : QString(name);
}
inline QString keyName(const NumberKey& key, int lnSlot = -1) {
    return keyName(key.name, key.bPerSlot, lnSlot);
}
inline QString keyName(const TextKey& key, int lnSlot = -1) {
    return keyName(key.name, key.bPerSlot, lnSlot);
}

// Window placement, saved at shutdown.
namespace FormView {
inline constexpr QLatin1StringView section("FormView");
inline constexpr NumberKey height{section, QLatin1StringView("height"), 0, false};  // twips
inline constexpr NumberKey top{section, QLatin1StringView("top"), 0, false};        // twips
inline constexpr NumberKey left{section, QLatin1StringView("left"), 0, false};      // twips
inline constexpr NumberKey SSTab1{section, QLatin1StringView("SSTab1"), 0, false};  // tab index
}  // namespace FormView

// The options edited by the options dialog; flags are 1 on, 0 off.
namespace Option {
inline constexpr QLatin1StringView section("Option");
// Each space of the delimiter is stored as "\s" so that it survives trimming.
inline constexpr TextKey delimiter{section, QLatin1StringView("delimiter"), QLatin1StringView("-"),
                                   false};
inline constexpr NumberKey SmallViewClass{section, QLatin1StringView("SmallViewClass"), 1, false};
inline constexpr NumberKey EscALLView{section, QLatin1StringView("EscALLView"), 1, false};
inline constexpr NumberKey AutoHide{section, QLatin1StringView("AutoHide"), 1, false};
inline constexpr NumberKey ChkONOFFDetail{section, QLatin1StringView("ChkONOFFDetail"), 0, false};
}  // namespace Option

// The eight user script slots and the keywords shared by them.
namespace Script {
inline constexpr QLatin1StringView section("Script");
inline constexpr NumberKey ChkAppPath{section, QLatin1StringView("ChkAppPath"), 0, false};
inline constexpr NumberKey ChkScript{section, QLatin1StringView("ChkScript"), 0, true};
inline constexpr TextKey TxtScriptName{section, QLatin1StringView("TxtScriptName"),
                                       QLatin1StringView(""), true};
inline constexpr TextKey TxtScriptFile{section, QLatin1StringView("TxtScriptFile"),
                                       QLatin1StringView(""), true};
inline constexpr TextKey TxtScriptKeyword{section, QLatin1StringView("TxtScriptKeyword"),
                                          QLatin1StringView("<LAYER>"), true};
inline constexpr TextKey TxtDWGName{section, QLatin1StringView("TxtDWGName"),
                                    QLatin1StringView("<DWGNAME>"), false};
inline constexpr TextKey TxtDWGPath{section, QLatin1StringView("TxtDWGPath"),
                                    QLatin1StringView("<DWGPATH>"), false};
}  // namespace Script

// The whole table, for code that walks every key (defaults, checks).
inline constexpr std::array<NumberKey, 10> allNumberKeys{
    FormView::height,       FormView::top,      FormView::left,   FormView::SSTab1,
    Option::SmallViewClass, Option::EscALLView, Option::AutoHide, Option::ChkONOFFDetail,
    Script::ChkAppPath,     Script::ChkScript};
inline constexpr std::array<TextKey, 6> allTextKeys{Option::delimiter,     Script::TxtScriptName,
                                                    Script::TxtScriptFile, Script::TxtScriptKeyword,
                                                    Script::TxtDWGName,    Script::TxtDWGPath};

}  // namespace SettingsKeys
