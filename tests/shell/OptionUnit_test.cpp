// The options dialog described through a recording toolkit: where its
// controls go with short and long captions, and the name each key shows.
#include "shell/OptionUnit.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game/GameIni.h"
#include "game/level/LevelStuff.h"
#include "platform/ui/RecordingUi.h"
#include "platform/window/KeyMap.h"
#include "support/WinFunc.h"

namespace {

using platform::ui::RecordingUi;

TEST(OptionUnit, NoControlRunsIntoTheNextOneAndAllFitTheDialog) {
    InitWinFunc();
    const std::string shortLabels[] = {"Avancer", "Regarder haut", "Tourner droite", "Inventaire"};
    const std::string longLabels[] = {"Avancer tout droit", "Regarder vers le haut",
                                      "Tourner vers la droite", "Ouvrir l'inventaire"};
    for (const auto* labels : {shortLabels, longLabels}) {
        for (int c = 0; c < kOptionControls; ++c) OptionTexts.controlLabels[c] = labels[c % 4];
        OptionTexts.viewDistance =
            labels == shortLabels ? "Distance de vue:" : "Distance de vue en cases:";
        OptionTexts.music = "Musique";
        std::fill(std::begin(KeyBindings), std::end(KeyBindings), uint8_t{34});  // "PG.DOWN"
        auto recording = std::make_unique<RecordingUi>();
        const RecordingUi& ui = *recording;
        TOptionForm form(std::move(recording));
        form.Show();

        // Controls of one row, from left to right.
        std::vector<RecordingUi::Control> placed;
        for (const RecordingUi::Control& c : ui.Controls()) {
            if (c.width > 0) placed.push_back(c);
        }
        std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
            return a.top / 24 != b.top / 24 ? a.top / 24 < b.top / 24 : a.left < b.left;
        });
        ASSERT_EQ(placed.size(), 12u * 2 + 4) << "labels, key fields, track bar, check box";
        for (size_t i = 0; i + 1 < placed.size(); ++i) {
            const RecordingUi::Control &a = placed[i], &b = placed[i + 1];
            if (a.top / 24 == b.top / 24) {
                EXPECT_LT(a.left + a.width, b.left)
                    << "[" << a.caption << "] runs into [" << b.caption << "]";
            }
            EXPECT_LE(a.left + a.width, form.Width()) << a.caption;
        }
        EXPECT_EQ(form.Width() > 346, labels == longLabels) << "designed size unless too small";
    }
}

TEST(OptionUnit, EveryKeyThatCanBeBoundShowsAName) {
    InitWinFunc();
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const uint8_t vk = platform::VirtualKeyOf(SDLK_UNKNOWN, scancode);
        if (vk == 0) continue;
        const std::string caption = KeyCaption(vk);
        EXPECT_TRUE(std::any_of(caption.begin(), caption.end(),
                                [](char c) { return static_cast<unsigned char>(c) > 32; }))
            << "code " << int{vk};
    }
    EXPECT_EQ(KeyCaption(9), "TAB");
    EXPECT_EQ(KeyCaption(27), "ESC");
    EXPECT_EQ(KeyCaption('A'), KeyNames['A']);
    EXPECT_EQ(KeyCaption(46), "SUP");
    EXPECT_EQ(KeyCaption(0), "") << "no key bound";
}

TEST(OptionUnit, TabGoesRoundTheControlsAndTheKeysWorkTheOneThatHasTheKeyboard) {
    InitWinFunc();
    std::fill(std::begin(KeyBindings), std::end(KeyBindings), uint8_t{65});
    DepthOfView = 20;
    TOptionForm form(std::make_unique<RecordingUi>());
    form.Show();
    ASSERT_EQ(form.FocusedControl, 2) << "the first key field";
    const uint8_t kTab = 9, kSpace = 32, kPageUp = 33, kEnd = 35, kLeft = 37, kRight = 39;
    // Tab from the first field: the key fields of the tab order, the track
    // bar, the check box, the last two fields and round again.
    const int order[] = {
        3,  6,  7, 0, 1, 4, 5, 8, 11, TOptionForm::kScanBarFocus, TOptionForm::kMusicFocus,
        12, 13, 2};
    for (const int expected : order) {
        form.OnKeyDown(kTab, false);
        EXPECT_EQ(form.FocusedControl, expected);
    }
    EXPECT_EQ(KeyBindings[2], 65) << "Tab moved on and bound nothing";

    const struct {
        int focus;
        uint8_t key;
        int position;   // the track bar after the key
        bool music;     // the check box after the key
        uint8_t bound;  // the key field's binding after the key
    } cases[] = {
        {TOptionForm::kScanBarFocus, kRight, 21, false, 65},
        {TOptionForm::kScanBarFocus, kLeft, 20, false, 65},
        {TOptionForm::kScanBarFocus, kPageUp, 15, false, 65},
        {TOptionForm::kScanBarFocus, kEnd, 50, false, 65},
        {TOptionForm::kScanBarFocus, kRight, 50, false, 65},
        {TOptionForm::kScanBarFocus, kSpace, 50, false, 65},
        {TOptionForm::kMusicFocus, kSpace, 50, true, 65},
        {TOptionForm::kMusicFocus, kRight, 50, true, 65},
        {4, kRight, 50, true, kRight},
    };
    MusicOn = 0;
    form.MusicChecked = false;
    for (const auto& c : cases) {
        form.FocusedControl = c.focus;
        form.OnKeyDown(c.key, false);
        EXPECT_EQ(form.ScanBarPosition, c.position) << c.focus << " " << int{c.key};
        EXPECT_EQ(DepthOfView, c.position) << c.focus << " " << int{c.key};
        EXPECT_EQ(form.MusicChecked, c.music) << c.focus << " " << int{c.key};
        EXPECT_EQ(KeyBindings[4], c.bound) << c.focus << " " << int{c.key};
    }
    EXPECT_EQ(MusicOn, 1);

    // Shift binds when let go alone; held for another key, that key binds.
    const uint8_t kShift = 16, kA = 65;
    form.FocusedControl = 4;
    form.OnKeyDown(kShift, false);
    EXPECT_EQ(KeyBindings[4], kRight) << "not yet";
    form.OnKeyUp(kShift);
    EXPECT_EQ(KeyBindings[4], kShift);
    form.OnKeyDown(kShift, false);
    form.OnKeyDown(kA, false);
    form.OnKeyUp(kA);
    form.OnKeyUp(kShift);
    EXPECT_EQ(KeyBindings[4], kA);
}

}  // namespace
