// Who may change a folder. An installer runs as an administrator, or as the
// system's own account, and runs or trusts what lies in the folders it
// makes: what anyone else could write there must be kept out of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

// A security descriptor the system made, freed with LocalFree.
using TDescriptor = std::unique_ptr<void, decltype(&LocalFree)>;

// Whether this process holds the administrators' rights, as an elevated
// administrator or the system's account does (an unelevated one does not).
bool RunsAsAdministrator();

// Whether a user is the system's own account (LocalSystem), as deployment
// tools run installers; and whether this process runs as it.
bool IsLocalSystem(PSID user);
bool RunsAsLocalSystem();

// The descriptor of a folder of programs as the system's own has it: owned
// by the administrators, full control for them and the system, read and run
// for users, inherited by everything made in it, nothing from its parent.
TDescriptor ProgramFolderDescriptor();
// The descriptor of a folder for this process alone: only the system and the
// administrators, and this process's user when it holds no administrators'
// rights, have any access, inherited by everything made in it.
TDescriptor PrivateFolderDescriptor();
// Whether a folder of this descriptor, or what is made in it, may be changed
// by anyone but the system, the administrators and the system's installer
// account: its owner is another, it has no list of permissions at all, or
// its list allows another to write, delete or change permissions.
bool OthersMayChange(PSECURITY_DESCRIPTOR descriptor);

// For a product's folder that this process, as an administrator, made or
// found: when others may change it, it is given the program folder's
// descriptor, its owner and permissions both. 0, or the system's error.
uint32_t ProtectFolder(const std::string& folder);

// A new folder in parent, named prefix and 32 random hexadecimal digits,
// with the private descriptor; never one that was there. 0 and its path in
// made, or the system's error.
uint32_t MakePrivateFolder(const std::string& parent, const std::string& prefix, std::string& made);
