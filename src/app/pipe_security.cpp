#include "app/pipe_security.h"

#include <sddl.h>

#include <string>
#include <vector>

#include "ui/text.h"

namespace {

constexpr wchar_t kInstanceImageName[] = L"Quorlen.exe";

// The TOKEN_USER record of a process's token; empty when it cannot be read.
std::vector<BYTE> TokenUserOf(HANDLE process) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(process, TOKEN_QUERY, token.put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) return {};
    std::vector<BYTE> record(size);
    if (!GetTokenInformation(token.get(), TokenUser, record.data(), size, &size)) return {};
    return record;
}

PSID UserSid(std::vector<BYTE>& tokenUser) { return reinterpret_cast<TOKEN_USER*>(tokenUser.data())->User.Sid; }

bool SameUserAsThisProcess(HANDLE process) {
    std::vector<BYTE> theirs = TokenUserOf(process);
    std::vector<BYTE> ours = TokenUserOf(GetCurrentProcess());
    return !theirs.empty() && !ours.empty() && EqualSid(UserSid(theirs), UserSid(ours));
}

}  // namespace

UniqueSecurityDescriptor CurrentUserOnlySecurity() {
    std::vector<BYTE> ours = TokenUserOf(GetCurrentProcess());
    if (ours.empty()) return {};
    UniqueHandle<handle_traits::LocalMemory<LPWSTR>> sidText;
    if (!ConvertSidToStringSidW(UserSid(ours), sidText.put())) return {};
    // Protected, so that nothing inherited widens it: full access for the user, none for anyone else.
    const std::wstring sddl = L"D:P(A;;GA;;;" + std::wstring(sidText.get()) + L")";
    UniqueSecurityDescriptor descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.put(),
                                                              nullptr)) {
        return {};
    }
    return descriptor;
}

bool IsInstanceImage(std::wstring_view imagePath) {
    const size_t separator = imagePath.find_last_of(L"\\/");
    const std::wstring_view name = separator == std::wstring_view::npos ? imagePath : imagePath.substr(separator + 1);
    return EqualsIgnoringCase(name, kInstanceImageName);
}

bool ServedByOurInstance(HANDLE pipe) {
    ULONG serverId = 0;
    if (!GetNamedPipeServerProcessId(pipe, &serverId)) return false;
    UniqueKernelHandle server(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, serverId));
    if (!server) return false;
    wchar_t image[MAX_PATH * 2] = {};
    DWORD length = ARRAYSIZE(image);
    if (!QueryFullProcessImageNameW(server.get(), 0, image, &length)) return false;
    // Not another session's instance either, even one of this user's.
    DWORD serverSession = 0;
    DWORD ownSession = 0;
    if (!ProcessIdToSessionId(serverId, &serverSession) || !ProcessIdToSessionId(GetCurrentProcessId(), &ownSession) ||
        serverSession != ownSession) {
        return false;
    }
    return IsInstanceImage(std::wstring_view(image, length)) && SameUserAsThisProcess(server.get());
}
