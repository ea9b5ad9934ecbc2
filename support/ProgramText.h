// Program texts: numbered texts of at most 1,024 characters that the purge
// library loads from "kz_text.dat" in the program's folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Has the purge library load the text file from the program's folder. A
// missing or faulty file is fatal: the reason is shown in a critical box
// with an empty title and the program ends.
void LoadProgramText(const std::string& fileName);

// Tells whether the program has finished starting, which the library's
// texts depend on. The program sets it; without one, start-up is taken as
// unfinished.
void SetStartupCompletedSource(std::function<bool()> source);

// Program text `number`, or "" when the library has none.
std::string GetProgramText(std::int16_t number);

// The message for a failed load, from the library's result code.
std::string ProgramTextLoadMessage(std::int32_t result, const std::string& fullPath);

// The program's folder as a drive path ("C:\Program Files\Kestrane"); its
// native path when no drive holds it.
std::string ProgramFolderPath();
