// The HTML label demo window: a document with every construct the label
// lays out, and the definition pane's twin stepping through the sample
// dictionary's entries.
#pragma once

namespace harness {

// Creates and shows "frmHtml" and lays both labels out.
void CreateDemoHtmlWindow();

}  // namespace harness
