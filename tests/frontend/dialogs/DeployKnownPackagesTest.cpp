#include <gtest/gtest.h>

#include "dialogs/KnownPackages.h"

TEST(DeployKnownPackages, TheSixPackagesMatchWhateverTheirCase)
{
    for (const char* name : {"zdoomdefsdoom.pk4", "zdoomtex.pk4", "zdoom1tex.pk4", "zdoom2tex.pk4",
                             "ztnttex.pk4", "zplutoniatex.pk4", "ZDOOMTEX.PK4", "ZPlutoniaTex.Pk4"})
        EXPECT_TRUE(IsKnownPackage(name)) << name;
}

TEST(DeployKnownPackages, OnlyWholeNamesMatch)
{
    for (const char* name : {"zdoomtex2.pk4", "xzdoomtex.pk4", "zdoomtex.pk", "zdoomtex", "zdoomdefslms.pk4",
                             "zdoomtex.pk4 ", "", "base\\zdoomtex.pk4"})
        EXPECT_FALSE(IsKnownPackage(name)) << name;
}
