// SPDX-License-Identifier: GPL-3.0-or-later
// Laid out against .clang-format on purpose: the format check must fail on it.
int   Sum( int a,int b ) { return a+b; }
