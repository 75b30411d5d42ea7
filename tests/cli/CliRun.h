#pragma once

// Runs velloria-cli as a user does, in a fresh folder per test.

#include "common/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string &arg)
{
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class Cli : public ::testing::Test
{
protected:
    // Run in the test's folder, where relative paths lead. `environment` goes before the
    // command: "NAME=value ...". Standard output goes to `output` when one is given (its
    // text is then not read).
    CliRun cli(const std::vector<std::string> &args, const std::string &environment = "",
               const std::string &output = "")
    {
        std::string command = "cd " + quoted(folder.path().string()) + " && " + environment + " " +
                              quoted(VELLORIA_CLI);
        for (const std::string &arg : args)
            command += " " + quoted(arg);
        command += " >" + quoted(output.empty() ? folder.file("out.txt") : output) + " 2>" +
                   quoted(folder.file("err.txt"));
        const int raw = std::system(command.c_str());
        return {WEXITSTATUS(raw), output.empty() ? readBytes(folder.file("out.txt")) : "",
                readBytes(folder.file("err.txt"))};
    }
    std::string file(const std::string &name) { return folder.file(name); }
    // A real JPEG picture: `add` reads the header of every picture it is given.
    std::string photo(const std::string &name)
    {
        std::filesystem::copy_file(VELLORIA_SAMPLE_PHOTO, file(name),
                                   std::filesystem::copy_options::overwrite_existing);
        return file(name);
    }

    TempFolder folder;
};
