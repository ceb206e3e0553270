#pragma once
// One test process's own home: its settings, caches, runtime and temporary files live in a
// folder made for it under the temporary folder it was given, and go with it when it ends.
// Test programs that run side by side, in any order, so never read each other's settings or
// files, and none writes into the home of whoever runs the suite. Declared first in main, before
// the application object reads any of these places.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

class TTestIsolation {
public:
    TTestIsolation()
    {
        const char *const Tmp = std::getenv("TMPDIR");
        std::string Root = std::string(Tmp && *Tmp ? Tmp : "/tmp") + "/optimal-filtering-test-XXXXXX";
        if (!mkdtemp(Root.data())) {
            std::perror("the test's own folder");
            std::exit(2);
        }
        FRoot = Root;
        const struct {
            const char *Variable, *Folder;
        } Places[] = {{"HOME", "home"},
                      {"XDG_CONFIG_HOME", "home/.config"},
                      {"XDG_CACHE_HOME", "home/.cache"},
                      {"XDG_DATA_HOME", "home/.local/share"},
                      {"XDG_STATE_HOME", "home/.local/state"},
                      {"XDG_RUNTIME_DIR", "runtime"},
                      {"TMPDIR", "tmp"}};
        for (const auto &Place : Places) {
            const std::filesystem::path Path = FRoot / Place.Folder;
            std::filesystem::create_directories(Path);
            setenv(Place.Variable, Path.c_str(), 1);
        }
        std::filesystem::permissions(FRoot / "runtime", std::filesystem::perms::owner_all);
    }
    ~TTestIsolation()
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FRoot, Ignored);
    }
    TTestIsolation(const TTestIsolation &) = delete;
    TTestIsolation &operator=(const TTestIsolation &) = delete;

    const std::filesystem::path &Root() const { return FRoot; }

private:
    std::filesystem::path FRoot;
};
