#include "framework/socket_library.h"

#include <gtest/gtest.h>

#include <ios>
#include <utility>

TEST(SocketLibrary, OnlyExactlyVersionOneOneIsAccepted) {
    struct Case {
        unsigned version;
        bool ok;
    } cases[] = {{0x0101, true},  {0x0202, false}, {0x0001, false}, {0x0100, false},
                 {0x0102, false}, {0x0201, false}, {0, false},      {0x10101, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsSocketsVersion11(c.version), c.ok) << std::hex << c.version;
    }
    CSocketLibrary outer;
    CSocketLibrary inner;  // started twice: each object releases only its own start
    EXPECT_TRUE(outer.IsStarted());
    EXPECT_TRUE(inner.IsStarted());
    CSocketLibrary moved(std::move(inner));
    EXPECT_TRUE(moved.IsStarted());
    EXPECT_FALSE(inner.IsStarted());  // only the new owner shuts the layer down
}
