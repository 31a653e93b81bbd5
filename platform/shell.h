#pragma once
// The desktop's browser and the end of the process.
#include <QUrl>

namespace kelvara {

// Opens the address in the user's default web browser (or mail program for "mailto:").
void OpenInBrowser(const QUrl& url);

// Ends the process at once with `exitCode`, skipping every shutdown step. Returns only while a
// CUiScript records the request instead.
void EndProcessNow(int exitCode);

}  // namespace kelvara
