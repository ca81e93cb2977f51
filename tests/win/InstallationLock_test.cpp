// The one-installation lock: no ordinary user can take it first. Two holders excluding each other and the
// lock coming free are checked end to end (UnattendedE2e.EachOutcomeHasItsExitCode), the file's removal by
// the e2e snapshots. Wine keeps no "delete pending" names, so why the file is renamed first shows only on
// Windows.
#include <windows.h>
#include <gtest/gtest.h>
#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "win/Handles.h"
#include "win/InstallationLock.h"

namespace quenby {
namespace {

// Any process may make a mutex of any name, in its own session or in the global one.
TEST(InstallationLock, SquattedMutexNamesDoNotTakeIt) {
    const THandle local(CreateMutexA(nullptr, TRUE, "Quenby.Installation"));
    const THandle global(CreateMutexA(nullptr, TRUE, "Global\\Quenby.Installation"));
    ASSERT_TRUE(local && global);
    EXPECT_TRUE(TInstallationLock().Held());
}

// Every process under Wine is an administrator, so a user's open cannot be staged: the file's access list
// must name no one but the system, the administrators and its owner. (Wine keeps no descriptor on files: it
// answers the Unix owner and an access list made from the mode bits, so the owner cannot be checked here.)
TEST(InstallationLock, FileAdmitsOnlySystemAndAdministrators) {
    const TInstallationLock lock;
    ASSERT_TRUE(lock.Held());
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(InstallationLockPath().c_str(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                                    nullptr, &descriptor),
              ERROR_SUCCESS);
    const std::unique_ptr<void, decltype(&LocalFree)> freed(descriptor, LocalFree);
    char* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                         nullptr);
    const std::unique_ptr<char, decltype(&LocalFree)> textFreed(text, LocalFree);
    ASSERT_NE(dacl, nullptr) << "no access list: everyone may do anything";
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, index, reinterpret_cast<void**>(&ace)));
        const PSID sid = &ace->SidStart;
        EXPECT_TRUE(IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                    EqualSid(sid, owner))
            << text;
    }
}

}  // namespace
}  // namespace quenby
