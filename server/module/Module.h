#pragma once
// Per-process state of the server: its module instance, live objects and server locks.
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace tessel::server {

HINSTANCE ModuleInstance();
std::wstring ModulePath();

// Every object of the server (class factories included) holds one reference while it lives.
void ModuleAddRef();
void ModuleRelease();
void ModuleLock(bool lock);
bool ModuleInUse();

// The type information of an interface of the embedded type library, loaded once per process.
// Returns a new reference.
HRESULT TypeInfoOf(REFIID iid, ITypeInfo** info);
HRESULT LoadEmbeddedTypeLib(ITypeLib** lib);
void ReleaseTypeLibrary();

// Hands an automation error with a description to the caller through the error object.
HRESULT RaiseError(HRESULT hr, const wchar_t* description, const wchar_t* source, REFIID iid);

}  // namespace tessel::server
