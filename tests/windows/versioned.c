// SPDX-License-Identifier: GPL-3.0-or-later
/* A program that only carries its version resource. */
int main(void) {
    return 0;
}
