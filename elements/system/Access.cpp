#include "Access.h"

#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>

#include "InstallLog.h"
#include "Paths.h"

namespace {

// The rights that change a folder, what it holds or who may.
constexpr ACCESS_MASK ChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                     FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// Full control for the system and the administrators, inherited by all below.
constexpr char AdministratorsOnly[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// From the system's text form of a descriptor (SDDL), which is plain ASCII.
TDescriptor FromText(const std::string& text) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(WideOf(text).data(), SDDL_REVISION_1, &descriptor, nullptr))
    descriptor = nullptr;
  return TDescriptor(descriptor, &LocalFree);
}

// The account the system's installer service runs as, which owns the
// system's own folders.
bool IsTrustedInstaller(PSID sid) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  const DWORD parts[] = {956008885, 3418522649, 1831038044, 1853292631, 2271478464};
  if (!IsValidSid(sid) || *GetSidSubAuthorityCount(sid) != 6 ||
      memcmp(GetSidIdentifierAuthority(sid), &nt, sizeof nt) != 0 || *GetSidSubAuthority(sid, 0) != 80)
    return false;
  for (DWORD i = 0; i < 5; ++i)
    if (*GetSidSubAuthority(sid, i + 1) != parts[i]) return false;
  return true;
}

bool IsAdministration(PSID sid) {
  return IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
         IsTrustedInstaller(sid);
}

// This process's user, read into buffer; null when it cannot be read.
PSID ProcessUser(BYTE (&buffer)[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE]) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  DWORD size = 0;
  const bool read = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  CloseHandle(token);
  return read ? reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid : nullptr;
}

// This process's user as SDDL text, empty when it cannot be read.
std::string UserSid() {
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  const PSID user = ProcessUser(buffer);
  wchar_t* sid = nullptr;
  if (!user || !ConvertSidToStringSidW(user, &sid)) return std::string();
  const std::string text = WideToText(sid);
  LocalFree(sid);
  return text;
}

} // namespace

bool IsLocalSystem(PSID user) { return user && IsValidSid(user) && IsWellKnownSid(user, WinLocalSystemSid); }

bool RunsAsLocalSystem() {
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  return IsLocalSystem(ProcessUser(buffer));
}

bool RunsAsAdministrator() {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof sid;
  BOOL member = FALSE;
  return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
         CheckTokenMembership(nullptr, sid, &member) && member;
}

TDescriptor ProgramFolderDescriptor() {
  // Users: read, list, run (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE).
  return FromText(std::string("O:BA") + AdministratorsOnly + "(A;OICI;0x1200a9;;;BU)");
}

TDescriptor PrivateFolderDescriptor() {
  std::string text = AdministratorsOnly;
  if (!RunsAsAdministrator()) {
    const std::string user = UserSid();
    if (user.empty()) return TDescriptor(nullptr, &LocalFree);
    text += "(A;OICI;FA;;;" + user + ")";
  }
  return FromText(text);
}

bool OthersMayChange(PSECURITY_DESCRIPTOR descriptor) {
  PSID owner = nullptr;
  PACL list = nullptr;
  BOOL present = FALSE, defaulted = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner || !IsAdministration(owner)) return true;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || !present || !list) return true;
  for (DWORD i = 0; i < list->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(list, i, reinterpret_cast<void**>(&header))) return true;
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    // What the creator of an item gets comes to whoever may create one, which
    // another entry then says.
    if ((allowed->Mask & ChangeRights) && !IsAdministration(sid) && !IsWellKnownSid(sid, WinCreatorOwnerSid))
      return true;
  }
  return false;
}

uint32_t ProtectFolder(const std::string& folder) {
  TWideText wide;
  if (!WidePath(folder, wide)) return LastFailureCode();
  PSECURITY_DESCRIPTOR now = nullptr;
  PSID owner = nullptr;
  PACL list = nullptr;
  DWORD error = GetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                      &owner, nullptr, &list, nullptr, &now);
  if (error != ERROR_SUCCESS) return error;
  const bool open = OthersMayChange(now);
  LocalFree(now);
  if (!open) return 0;
  const TDescriptor protection = ProgramFolderDescriptor();
  BOOL present = FALSE, defaulted = FALSE;
  if (!protection || !GetSecurityDescriptorOwner(protection.get(), &owner, &defaulted) ||
      !GetSecurityDescriptorDacl(protection.get(), &present, &list, &defaulted))
    return LastFailureCode();
  return SetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT,
                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               owner, nullptr, list, nullptr);
}

uint32_t MakePrivateFolder(const std::string& parent, const std::string& prefix, std::string& made) {
  const TDescriptor descriptor = PrivateFolderDescriptor();
  if (!descriptor) return LastFailureCode();
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  for (int tries = 0; tries < 16; ++tries) {
    uint8_t random[16];
    if (!RtlGenRandom(random, sizeof random)) return LastFailureCode();
    std::string name = parent;
    if (!name.empty() && name.back() != '\\') name += '\\';
    name += prefix;
    for (const uint8_t part : random) {
      name += "0123456789abcdef"[part >> 4];
      name += "0123456789abcdef"[part & 0xF];
    }
    TWideText wide;
    if (!WidePath(name, wide)) return LastFailureCode();
    if (CreateDirectoryW(wide.data(), &attributes)) {
      made = name;
      return 0;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return LastFailureCode();
  }
  return ERROR_ALREADY_EXISTS;
}
