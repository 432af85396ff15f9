#include <gtest/gtest.h>

#include "platform/foundation/UnicodeCase.h"
#include "platform/uikit/GroupedTableLayout.h"

TEST(UnicodeCase, RaisesEveryScriptWithItsSpecialCasesAndOnlyASCIIInBrokenText) {
    EXPECT_EQ(platform::uppercaseString("développeuse"), "DÉVELOPPEUSE");
    EXPECT_EQ(platform::uppercaseString("Straße"), "STRASSE");
    EXPECT_EQ(platform::uppercaseString("ελληνικά"), "ΕΛΛΗΝΙΚΆ");
    // A lone continuation byte is not UTF-8: the bytes stay, the letters rise.
    EXPECT_EQ(platform::uppercaseString("ab\x80z"), "AB\x80Z");
    EXPECT_EQ(platform::uppercaseString(""), "");
}

TEST(UnicodeCase, GroupedSectionHeadersAreUpperCasedInUnicode) {
    platform::GroupedTableLayout::SectionInput section;
    section.header = "Réglages";
    section.rowHeights = {44};
    auto layout = platform::GroupedTableLayout::make({section}, 390, false);
    ASSERT_EQ(layout.sections.size(), 1u);
    EXPECT_EQ(layout.sections[0].header, "RÉGLAGES");
}
