// The names files hold for other files, as a table: what each stands for seen from a model's
// folder and from a project's, or why it is not opened. Built and run on both trees, since
// the rule is Windows' rule wherever the code runs.

#include "document/name_resolver.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

using namespace MyApp;

namespace {

constexpr NameRefusal kOk = NameRefusal::None;
constexpr NameRefusal kMachine = NameRefusal::AnotherMachine;
constexpr NameRefusal kDevice = NameRefusal::Device;
constexpr NameRefusal kDrive = NameRefusal::DriveRelative;
constexpr NameRefusal kAddress = NameRefusal::Address;
constexpr NameRefusal kOutside = NameRefusal::OutsideFolder;

struct NameCase {
    const char* folder;
    const char* name;
    NameRefusal model;   // seen from a model in the folder
    NameRefusal project; // seen from a project in the folder
    const char* path;    // what an accepted name opens, the same for both when both accept
};

} // namespace

TEST(NameResolverTest, NamesFromAFileOpenOnlyWhatTheRuleLets) {
    const NameCase cases[] = {
        {"C:\\models", "legno.png", kOk, kOk, "C:\\models\\legno.png"},
        {"C:\\models", "tex/./a/../legno.png", kOk, kOk, "C:\\models\\tex\\legno.png"},
        {"/home/anna/models", "tex\\legno.png", kOk, kOk, "/home/anna/models/tex/legno.png"},
        {"", "legno.png", kOk, kOk, "legno.png"},
        // A name that climbs out of the folder, however it is spelt.
        {"C:\\models", "../secret.bin", kOutside, kOk, "C:\\models\\..\\secret.bin"},
        {"C:\\models", "a/../../models2/x.png", kOutside, kOk, nullptr},
        {"/srv/m", "../../../../etc/passwd", kOutside, kOk, nullptr},
        {"C:\\models", "... /x.png", kOutside, kOutside, nullptr},
        {"C:\\models", ".", kOutside, kOutside, nullptr},
        // Whole paths: inside the folder by components, in any case, not by a string prefix.
        {"C:\\models", "c:/MODELS/tex/a.png", kOk, kOk, "c:/MODELS/tex/a.png"},
        {"C:\\models", "C:\\models2\\a.png", kOutside, kOk, "C:\\models2\\a.png"},
        {"C:\\models", "C:\\models\\..\\secret.png", kOutside, kOk, "C:\\secret.png"},
        {"C:\\models", "D:\\models\\a.png", kOutside, kOk, "D:\\models\\a.png"},
        {"C:\\models", "/anywhere/evil.mtl", kOutside, kOk, "/anywhere/evil.mtl"},
        {"C:\\models", "\\\\?\\C:\\models\\a.png", kOk, kOk, "\\\\?\\C:\\models\\a.png"},
        {"C:\\models", "\\\\?\\D:\\a.png", kOutside, kOk, "\\\\?\\D:\\a.png"},
        {"\\\\srv\\share\\m", "\\\\SRV\\share\\m\\a.png", kOk, kOk, "\\\\SRV\\share\\m\\a.png"},
        {"\\\\srv\\share\\m", "..\\a.png", kOutside, kOutside, nullptr},
        // Other machines.
        {"C:\\models", "\\\\host\\share\\m.mtl", kMachine, kMachine, nullptr},
        {"C:\\models", "//host/share/m.mtl", kMachine, kMachine, nullptr},
        {"C:\\models", "\\\\?\\UNC\\host\\share\\x.png", kMachine, kMachine, nullptr},
        {"C:\\models", "\\??\\UNC\\host\\share\\x.png", kMachine, kMachine, nullptr},
        {"C:\\models", "\\\\.\\unc\\host\\share\\x.png", kMachine, kMachine, nullptr},
        // Devices, streams, and names the system cuts short.
        {"C:\\models", "CON", kDevice, kDevice, nullptr},
        {"C:\\models", "tex\\nul.png", kDevice, kDevice, nullptr},
        {"C:\\models", "com1 .txt", kDevice, kDevice, nullptr},
        {"C:\\models", "LPT\xC2\xB9", kDevice, kDevice, nullptr},
        {"C:\\models", "C:\\models\\aux", kDevice, kDevice, nullptr},
        {"C:\\models", "\\\\.\\PhysicalDrive0", kDevice, kDevice, nullptr},
        {"C:\\models", "\\\\?\\GLOBALROOT\\Device\\x", kDevice, kDevice, nullptr},
        {"C:\\models", "\\??\\C:\\x.png", kDevice, kDevice, nullptr},
        {"C:\\models", "legno.png:nascosto", kDevice, kDevice, nullptr},
        {"C:\\models", "console.png", kOk, kOk, "C:\\models\\console.png"},
        // Drive-relative names and addresses.
        {"C:\\models", "C:legno.png", kDrive, kDrive, nullptr},
        {"C:\\models", "D:", kDrive, kDrive, nullptr},
        {"C:\\models", "http://example.com/x.png", kAddress, kAddress, nullptr},
        {"C:\\models", "file:///C:/models/x.png", kAddress, kAddress, nullptr},
        {"C:\\models", "ms-settings:x", kAddress, kAddress, nullptr},
    };
    for (const NameCase& c : cases) {
        for (const NameScope scope : {NameScope::Model, NameScope::Project}) {
            const NameRefusal expected = scope == NameScope::Model ? c.model : c.project;
            const ResolvedName resolved = ResolveName(c.folder, c.name, scope);
            const bool model = scope == NameScope::Model;
            EXPECT_EQ(resolved.refusal, expected) << c.folder << " | " << c.name << " model " << model;
            EXPECT_EQ(resolved.path.empty(), expected != kOk) << c.name << " model " << model;
            if (expected == kOk && c.path != nullptr) {
                EXPECT_EQ(resolved.path, c.path) << c.name << " model " << model;
            }
        }
    }
    // The user's own word may name another machine, never a device, a drive's current folder
    // or an address.
    const std::pair<const char*, NameRefusal> typed[] = {
        {"\\\\host\\share\\x.png", kOk}, {"\\\\?\\UNC\\host\\share\\x.png", kOk},
        {"..\\x.png", kOk},                {"\\\\.\\PhysicalDrive0", kDevice},
        {"CON", kDevice},                    {"C:x.png", kDrive},
        {"http://example.com/x.png", kAddress},
    };
    for (const auto& [name, refusal] : typed)
        EXPECT_EQ(ResolveName("\\\\srv\\share", name, NameScope::UsersWord).refusal, refusal) << name;
    // A NUL inside a name would cut it after it was judged.
    EXPECT_EQ(ResolveName("C:\\models", std::string("a/..\0/../x", 10), NameScope::Model).refusal,
              kDevice);
}

// A model's whole path from another machine stands for the file of that name beside the
// model when there is one, as exporters write the path a picture had on the author's machine.
TEST(NameResolverTest, AModelsForeignPathFallsBackToTheFileBesideIt) {
    TemporaryFolder folder;
    TemporaryFolder::WriteBytes(folder.File("legno.png"), "picture");
    const std::string beside = folder.File("legno.png");
    for (const char* name : {"C:\\Users\\autore\\legno.png", "\\\\host\\share\\legno.png",
                             "/home/autore/legno.png"})
        EXPECT_EQ(ResolveName(folder.Path().string(), name, NameScope::Model).path, beside) << name;
    EXPECT_EQ(ResolveName(folder.Path().string(), "\\\\host\\share\\altro.png", NameScope::Model)
                  .refusal,
              kMachine);
    EXPECT_EQ(ResolveName(folder.Path().string(), "../legno.png", NameScope::Model).refusal,
              kOutside)
        << "a relative name that climbs out is refused, not looked for beside";
    EXPECT_EQ(RefusedNameText("La texture", true, "\\\\h\\s\\x.png", kMachine),
              "La texture \\\\h\\s\\x.png si trova su un altro computer e non viene aperta");
}
