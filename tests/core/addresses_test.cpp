#include "frontend/addresses.h"

#include <gtest/gtest.h>

#include "game/documents.h"

namespace wuffel {
namespace {

TEST(Addresses, AnAddressOpensAsItIsAndTheSiteCarriesOnlyTheMenusTwoDocuments) {
  EXPECT_EQ(siteAddressOf(kMailAddress), kMailAddress);
  EXPECT_EQ(siteAddressOf(kWebAddress), kWebAddress);
  EXPECT_EQ(siteAddressOf(kReadmeDocument), "readme.txt");
  EXPECT_EQ(siteAddressOf(kWhatsnewDocument), "whatsnew.txt");
  EXPECT_EQ(siteAddressOf(kManualProgram), "") << "the site has no manual";
  EXPECT_EQ(siteAddressOf(".\\SOUND\\MISS.WAV"), "") << "nor any other file of the program's";
}

TEST(Addresses, AFileNamedTheProgramsWayBecomesAPathBelowTheFolder) {
  EXPECT_EQ(relativePathOf(".\\readme.txt"), "readme.txt");
  EXPECT_EQ(relativePathOf(".\\SOUND\\..\\Manual.EXE"), "SOUND/../Manual.EXE");
  EXPECT_EQ(relativePathOf("plain.txt"), "plain.txt");
  EXPECT_FALSE(isAddress(".\\readme.txt"));
  EXPECT_TRUE(isAddress("mailto:someone"));
}

}  // namespace
}  // namespace wuffel
