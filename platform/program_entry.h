#pragma once

namespace homeclick {

// The program's own start, called once by the run time after the process has
// started; its result becomes the process's exit code.
int program_entry() noexcept;

} // namespace homeclick
