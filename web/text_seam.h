#pragma once
// The pictures' texts through the browser's fonts (web/src/text.ts does the drawing).

namespace sp::web {

void use_browser_text();

}  // namespace sp::web
