// Volume and pan in hundredths of a decibel turned into channel gains.
#include "platform/audio/Gains.h"

#include <gtest/gtest.h>

using platform::audio::GainOfAttenuation;
using platform::audio::GainsFromVolumeAndPan;

TEST(AudioGains, AttenuationIsTwentiethsOfALogScale) {
    EXPECT_DOUBLE_EQ(GainOfAttenuation(0), 1.0);
    EXPECT_DOUBLE_EQ(GainOfAttenuation(500), 1.0);
    EXPECT_NEAR(GainOfAttenuation(-2000), 0.1, 1e-12);
    EXPECT_NEAR(GainOfAttenuation(-600), 0.501187, 1e-6);  // -6 dB: about half
    EXPECT_NEAR(GainOfAttenuation(-9999), 1.00115e-5, 1e-9);
    EXPECT_EQ(GainOfAttenuation(-10000), 0.0);  // the bottom of the scale is silence
    EXPECT_EQ(GainOfAttenuation(-2000000000), 0.0);
}

TEST(AudioGains, PanAttenuatesTheOtherSideOnTopOfTheVolume) {
    auto g = GainsFromVolumeAndPan(0, 0);
    EXPECT_DOUBLE_EQ(g.Left, 1.0);
    EXPECT_DOUBLE_EQ(g.Right, 1.0);
    g = GainsFromVolumeAndPan(-2000, 2000);  // to the right: left loses 20 dB more
    EXPECT_NEAR(g.Left, 0.01, 1e-12);
    EXPECT_NEAR(g.Right, 0.1, 1e-12);
    g = GainsFromVolumeAndPan(0, -4000);
    EXPECT_DOUBLE_EQ(g.Left, 1.0);
    EXPECT_NEAR(g.Right, 0.01, 1e-12);
    g = GainsFromVolumeAndPan(0, 10000);
    EXPECT_EQ(g.Left, 0.0);
    EXPECT_DOUBLE_EQ(g.Right, 1.0);
    g = GainsFromVolumeAndPan(-6000, 5000);  // together past the bottom: silent
    EXPECT_EQ(g.Left, 0.0);
    EXPECT_NEAR(g.Right, 0.001, 1e-12);
    // Out of range: clamped.
    g = GainsFromVolumeAndPan(300, -20000);
    EXPECT_DOUBLE_EQ(g.Left, 1.0);
    EXPECT_EQ(g.Right, 0.0);
    g = GainsFromVolumeAndPan(-20000, 0);
    EXPECT_EQ(g.Left, 0.0);
    EXPECT_EQ(g.Right, 0.0);
}
