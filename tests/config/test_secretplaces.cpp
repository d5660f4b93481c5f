// A new password stored where a keyring answers (run by ctest in a private GNOME Keyring
// session). Where none answers, the user's choice is the settings window's test
// (GeneralDialog.OkStoresEveryTabAndHandsItBack).
#include "mailboxsetup.h"
#include "temp_home.h"
#include "unattendedprompts.h"

#include <gtest/gtest.h>

namespace {

TEST(WithKeyring, ANewPasswordGoesToTheKeyringWithoutAQuestion)
{
    TempHome home;
    // A question would be answered "do not store": the keyring would then hold nothing.
    TUnattendedPrompts prompts(QStringLiteral("test"));
    ServerSettings servers;
    servers.slot(2) = {"pop.example.org", "erin", "pw of erin", TlsMode::Implicit, {}};
    UserSettings settings;
    ASSERT_TRUE(saveServerSettings(settings, servers, PlaceNewSecrets(servers, ServerSettings(), prompts)).ok());
    EXPECT_EQ(settings.readString("Server", "Passwd2"), "");
    EXPECT_EQ(readServerSettings(settings).slot(2), servers.slot(2)) << "read back from the keyring";
    EXPECT_EQ(servers.slot(2).secrets, SecretPlace::Keyring);
}

} // namespace
