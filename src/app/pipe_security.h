#pragma once

#include <windows.h>

#include <string_view>

#include "ui/handles.h"

using UniqueSecurityDescriptor = UniqueHandle<handle_traits::LocalMemory<PSECURITY_DESCRIPTOR>>;

// A security descriptor that admits this process's user alone; empty when the
// user cannot be told.
[[nodiscard]] UniqueSecurityDescriptor CurrentUserOnlySecurity();

// Whether an image path names the program's executable, in whatever folder.
[[nodiscard]] bool IsInstanceImage(std::wstring_view imagePath);

// Whether the server end of a connected pipe is held by a process of this
// user and this session that runs the program. The pipe's name is known to every program, so
// any of them could have made it first.
[[nodiscard]] bool ServedByOurInstance(HANDLE pipe);
