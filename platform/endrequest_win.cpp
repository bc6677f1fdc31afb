// SPDX-License-Identifier: GPL-3.0-or-later
#include "endrequest.h"

namespace filmarin::platform {

int watchEndRequests() {
    return -1;
}

void takeEndRequests(int) {}

} // namespace filmarin::platform
