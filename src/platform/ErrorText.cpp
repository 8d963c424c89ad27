#include <string>

#include "platform/Result.h"
#include "platform/SystemInfo.h"

namespace nullvane::platform {

std::string SystemInfo::ErrorText(uint32_t code) {
    switch (code) {
        case seSuccess: return "The operation completed successfully.";
        case seFileNotFound: return "The system cannot find the file specified.";
        case sePathNotFound: return "The system cannot find the path specified.";
        case seAccessDenied: return "Access is denied.";
        case seInvalidHandle: return "The handle is invalid.";
        case seInvalidData: return "The data is invalid.";
        case seNoMoreFiles: return "There are no more files.";
        case seWriteProtect: return "The media is write protected.";
        case seGenFailure: return "A device attached to the system is not functioning.";
        case seSharingViolation: return "The process cannot access the file because it is being used by another process.";
        case seNotSupported: return "The request is not supported.";
        case seFileExists: return "The file exists.";
        case seInvalidParameter: return "The parameter is incorrect.";
        case seDiskFull: return "There is not enough space on the disk.";
        case seInvalidName: return "The filename, directory name, or volume label syntax is incorrect.";
        case seDirNotEmpty: return "The directory is not empty.";
        case seAlreadyExists: return "Cannot create a file when that file already exists.";
        case seDirectory: return "The directory name is invalid.";
        case seNotAReparsePoint: return "The file or directory is not a reparse point.";
        case 1018: return "Illegal operation attempted on a registry key that has been marked for deletion.";
        default: return "Error " + std::to_string(code);
    }
}

}  // namespace nullvane::platform
