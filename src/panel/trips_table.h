#pragma once

namespace dravik {}  // namespace dravik
