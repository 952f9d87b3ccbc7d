#include "app/catalogue/ReviewArguments.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(ReviewArguments, OnlyPlainIdentifiersAreWrittenAndRead)
{
    const Words forged = {"-platformpluginpath", "/tmp/plugins", "--style=x", "two words", "", ".hidden",
                          "com.example.k\xC3\xBC", std::string(300, 'a')};
    Words identifiers = {"com.example.kite", "net.harborlight.vpn", "io.glimmer-reader_2"};
    Words mixed = identifiers;
    mixed.insert(mixed.begin() + 1, forged.begin(), forged.end());

    Words expected = identifiers;
    expected.insert(expected.begin(), "--review-remains");
    EXPECT_EQ(ReviewArguments::make(mixed), expected);
    EXPECT_EQ(ReviewArguments::make(forged), Words{});

    // Read back: the plain ones after the option, up to the next option.
    Words line = {"Ostrova", "--review-remains", "com.example.kite", "/tmp/plugins", "two words", "io.glimmer-reader_2",
                  "-platformpluginpath", "net.harborlight.vpn"};
    EXPECT_EQ(ReviewArguments::read(line), (Words{"com.example.kite", "io.glimmer-reader_2"}));
    EXPECT_EQ(ReviewArguments::read(ReviewArguments::make(identifiers)), identifiers);
    EXPECT_EQ(ReviewArguments::read({"Ostrova"}), Words{});
    EXPECT_EQ(ReviewArguments::read({"Ostrova", "--review-remains"}), Words{});
}

}  // namespace
