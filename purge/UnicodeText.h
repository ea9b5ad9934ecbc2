// Characters of the program's strings: UTF-8 in std::string, one code point
// per character when text is measured, matched or changed in case.
//
// File names on POSIX are bytes and need not be valid UTF-8. Decoding keeps
// every byte that is not part of a valid sequence as a character of its own
// (U+DC80 + byte, the "surrogate escape"), and encoding turns it back into
// that byte, so decoding and encoding give back exactly the bytes that went
// in, and no case change ever touches them.
#pragma once

#include <string>
#include <string_view>

// Text as code points; stray bytes become U+DC80..U+DCFF.
std::u32string DecodeUtf8(std::string_view text);
// The reverse of DecodeUtf8.
std::string EncodeUtf8(std::u32string_view text);

// Simple (one-to-one) Unicode case mapping, independent of the user's
// language, so that a name folds the same way on every machine.
char32_t LowerCaseOf(char32_t c);
char32_t UpperCaseOf(char32_t c);
std::u32string LowerCase(std::u32string text);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
