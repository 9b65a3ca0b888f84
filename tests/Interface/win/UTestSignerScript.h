#pragma once

// What the test signer components answer and where they record the calls
// that reach them. Plain Win32 and the standard library only, as the
// components live in a DLL of their own, loaded by COM.
//
// The test names two UTF-8 files through the process environment:
//   ORV_TEST_SIGNER_SCRIPT  the answers, read afresh at every lookup;
//   ORV_TEST_SIGNER_LOG     one line per event, appended.
//
// Script lines are fields separated by tabs: first a name, then key=value
// pairs whose values may hold the escapes \\ \t \r \n \0.
//   Xades.SignObjects  hr=80004005  desc=text  text=text  status=-1  vt=0
//     a method's HRESULT (hexadecimal), the error description it leaves,
//     its text result, its integer status and the VARIANT type of a data
//     object (decimal);
//   Xades  getclass=80040154  create=80080005  iface=0  errorinfo=no|none  keep=0
//     a component's class: the failure of DllGetClassObject or of
//     IClassFactory::CreateInstance, an object without its interface, an
//     object that says it leaves no error information (no) or has no
//     ISupportErrorInfo at all (none), a signer that keeps no reference of
//     its own to the data objects added to it.
// Components are named XmlPlugin, Xades and Mes.
//
// Log lines: "Xades.Create", "Xades.Release", "DataObject.Create",
// "DataObject.Release" and "Xades.SignObjects(arg|arg|arg)", each argument
// escaped as above with "|" written as "\|".

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

inline constexpr wchar_t TestSignerScriptVariable[] = L"ORV_TEST_SIGNER_SCRIPT";
inline constexpr wchar_t TestSignerLogVariable[] = L"ORV_TEST_SIGNER_LOG";

// One script line's values, by key.
class TScriptEntry {
public:
    std::optional<std::wstring> Value(const std::wstring& key) const;
    HRESULT Hr(const std::wstring& key, HRESULT fallback) const;
    long Number(const std::wstring& key, long fallback) const;
    std::wstring Text(const std::wstring& key) const { return Value(key).value_or(L""); }

    std::map<std::wstring, std::wstring> Values;
};

// The script's line for a name; empty when there is none.
TScriptEntry ScriptEntry(const std::wstring& name);

// Appends one line to the log.
void LogLine(const std::wstring& line);

// An argument as the log writes it.
std::wstring EscapeArgument(const wchar_t* text, std::size_t length);
