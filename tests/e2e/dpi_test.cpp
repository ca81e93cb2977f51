// The same installation run at 96 and at 144 dpi (the prefix's HKCU\Control Panel\Desktop LogPixels,
// which Wine reads when each process starts). Every page is photographed into
// <build>/screenshots/dpi-96/ and dpi-144/ to be looked at side by side; the test checks that the
// dialog and each control grew by the same factor and that no control reaches further out of its parent
// than at 96 dpi (where the declared tree and path box already overhang their panel by one pixel).
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "ConsoleRun.h"
#include "Driver.h"
#include "ScratchFolder.h"
#include "Wizard.h"
#include "wizard/forms/MainDialogForm.h"

namespace quenby {
namespace {

using namespace drive;
using test::kPageMs;

void SetLogPixels(DWORD dpi) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    RegCloseKey(key);
}

// Each visible control's place in the dialog's client area, by name; the client size under "".
using TLayout = std::map<std::string, RECT>;
// How far each visible control reaches out of its parent's client area, in pixels.
using TOverhang = std::map<std::string, LONG>;

void Record(const test::TWizard& wizard, TLayout& layout, TOverhang& overhang) {
    RECT client{};
    GetClientRect(wizard.Dialog(), &client);
    layout[""] = client;
    for (const ui::TControlDecl& decl : forms::kMainDialogControls) {
        const HWND control = FindControl(wizard.Dialog(), ui::ControlId(forms::kMainDialogControls, decl.Name));
        if (!control || !Visible(control)) continue;
        layout[decl.Name] = RectIn(control, wizard.Dialog());
        RECT parent{};
        GetClientRect(GetParent(control), &parent);
        const RECT own = RectIn(control, GetParent(control));
        overhang[decl.Name] = std::max({0L, -own.left, -own.top, own.right - parent.right, own.bottom - parent.bottom});
    }
}

// Runs the installation and records the layout of every page on the way.
std::pair<TLayout, TOverhang> RunAt(DWORD dpi) {
    SetLogPixels(dpi);
    const std::string tag = "dpi-" + std::to_string(dpi);
    test::TScratchFolder dist("quenby-" + tag);
    test::TScratchFolder target("quenby-" + tag + "-target");
    dist.Write("Quenby.ipi",
               "[Settings]\r\nApplication=Scale Probe\r\nVersion=1.0\r\nProgGroup=Scale Probe\r\n"
               "WebAddress=www.scale.example\r\nEmailAddress=dpi@scale.example\r\n"
               "[StartInfo]\r\nnotice.txt=\r\n[FilesIn]\r\nprobe.txt=\r\n[FilesOut]\r\nprobe.txt=0\r\n"
               "[Keys]\r\nBase=\\Software\\Norvale Tests\\Scale Probe\r\n");
    dist.Write("notice.txt", "A notice long enough to wrap in the memo, so that the font's size shows in the "
                             "screenshot as clearly as the places of the controls do.\r\n");
    dist.Write("probe.txt", "probe\r\n");
    TLayout layout;
    TOverhang overhang;
    test::TWizard wizard(dist.Path());
    const auto page = [&](const std::string& name) {
        wizard.Driver().Settle();
        const std::string folder = test::BuildDir() + "\\screenshots\\" + tag;
        MakeFolders(folder);
        Screenshot(folder, name + ".png");
        Record(wizard, layout, overhang);
    };
    wizard.WaitInfo("Welcome to Quenby. This program will automatically install and configure Scale Probe 1.0 on "
                    "your computer.");
    page("1-welcome");
    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return Text(wizard.Item("InfoMemo")).starts_with("A notice"); }, kPageMs, "the notice");
    page("2-notice");
    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return Visible(wizard.Item("EditName")); }, kPageMs, "the user page");
    page("3-user");
    Click(wizard.Item("NextBut"));
    WaitUntil([&] { return Visible(wizard.Item("EditPath")); }, kPageMs, "the destination page");
    page("4-destination");
    wizard.Enter("EditPath", target.Path());
    Click(wizard.Item("NextBut"));
    wizard.WaitInfo("Scale Probe 1.0 was installed successfuly. Please select next to continue.");
    wizard.CloseOtherWindow("Scale Probe");
    page("5-installed");
    return {layout, overhang};
}

TEST(HighDpi, At144DpiEveryPlaceAndSizeGrowsByHalfAndNothingReachesOut) {
    const auto [normal, normalOverhang] = RunAt(96);
    const auto [large, largeOverhang] = RunAt(144);
    SetLogPixels(96);
    ASSERT_EQ(normal.size(), large.size());
    for (const auto& [name, at96] : normal) {
        const RECT& at144 = large.at(name);
        // Autosized labels are measured in the larger font, which is not exactly half as wide again.
        const auto grew = [&](LONG small, LONG big) { return std::abs(big - small * 3 / 2) <= 2 + big / 25; };
        EXPECT_TRUE(grew(at96.left, at144.left) && grew(at96.top, at144.top) && grew(at96.right, at144.right) &&
                    grew(at96.bottom, at144.bottom))
            << (name.empty() ? "the dialog" : name) << ": " << at96.left << "," << at96.top << "," << at96.right
            << "," << at96.bottom << " at 96 dpi, " << at144.left << "," << at144.top << "," << at144.right << ","
            << at144.bottom << " at 144";
        if (!name.empty()) {
            EXPECT_LE(largeOverhang.at(name), normalOverhang.at(name) * 3 / 2 + 1) << name << " reaches out of its parent";
        }
    }
}

}  // namespace
}  // namespace quenby
