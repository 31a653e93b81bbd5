#include "cli/command_end.h"

#include <iostream>

#include "cli/cli_texts.h"
#include "cli/interrupt.h"
#include "cli/options.h"

namespace kelvara::cli {

int FinishCommand(StatusLine& status, int code) {
    std::cout.flush();
    if (!std::cout.good()) {
        status.Message(cli_texts::kOutputWriteFailed);
        code = kExitFailed;
    }
    if (WasInterrupted()) {
        status.Message(cli_texts::kStoppedByUser);
        return kExitInterrupted;
    }
    return code;
}

}  // namespace kelvara::cli
