#include <gtest/gtest.h>

#include "startup/Configurazione.h"
#include "startup/ModuloVD2005.h"

namespace {

TEST(Password, StoredAsAHashAndComparedExactly) {
    const std::string hash = startup::HashPassword("Segreta1");
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(hash.find("Segreta1"), std::string::npos);
    EXPECT_TRUE(startup::VerificaPassword(hash, "Segreta1"));
    for (const char* wrong : {"segreta1", "Segreta1 ", "Segreta", ""}) {
        EXPECT_FALSE(startup::VerificaPassword(hash, wrong)) << wrong;
    }
    EXPECT_FALSE(startup::VerificaPassword("", ""));
    EXPECT_FALSE(startup::VerificaPassword("not a hash", "not a hash"));
}

}  // namespace
