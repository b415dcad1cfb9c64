// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/fault_plan.h"

#include "platform/error.h"

namespace velmora::headless {

std::string_view NameOf(PlatformCall call) {
  switch (call) {
    case PlatformCall::kFileLen: return "FileLen";
    case PlatformCall::kDir: return "Dir";
    case PlatformCall::kListFolder: return "ListFolder";
    case PlatformCall::kTypeOf: return "TypeOf";
    case PlatformCall::kKill: return "Kill";
    case PlatformCall::kReadFile: return "ReadFile";
    case PlatformCall::kReplaceFile: return "ReplaceFile";
    case PlatformCall::kWriteNewFile: return "WriteNewFile";
    case PlatformCall::kWriteTemporaryFile: return "WriteTemporaryFile";
    case PlatformCall::kShowSave: return "ShowSave";
    case PlatformCall::kGetText: return "GetText";
    case PlatformCall::kFileListSetPath: return "FileList.SetPath";
    case PlatformCall::kFileListRefresh: return "FileList.Refresh";
    case PlatformCall::kDirListSetPath: return "DirList.SetPath";
  }
  return "?";
}

void FaultPlan::FailNthCall(int n, int errorNumber, std::optional<PlatformCall> kind) {
  armed_ = Arranged{n, errorNumber, kind};
  fired_ = false;
}

void FaultPlan::Enter(PlatformCall call) {
  ++counts_[static_cast<std::size_t>(call)];
  if (!armed_ || (armed_->kind && *armed_->kind != call) || --armed_->callsLeft > 0) return;
  const int number = armed_->errorNumber;
  armed_.reset();
  fired_ = true;
  throw Error(number);
}

}  // namespace velmora::headless
