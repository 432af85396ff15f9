#pragma once

namespace corvale::preview {

// The page the preview serves: one HTML file with its style and script inline, built into the
// program from PreviewPage.html so that nothing has to be found on disk or fetched.
extern const char* const previewPageHTML;

} // namespace corvale::preview
