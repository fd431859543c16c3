#pragma once
// A host for the tests: a top-level window whose procedure keeps the
// notifications the library posts to it (copies of their records), an
// embedded viewer, and helpers that run the messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "embed/include/pagewell.h"
#include "embed/include/pagewell_host.h"

namespace embed_test {

struct Notification {
  uint32_t message = 0;
  PW_HWND window = 0;
  std::string url;
  std::string target;
  int32_t reserved = -1;
  bool terminated = false;  // the byte after the longest text was NUL
};

// Everything the host window received from the library, in order.
std::vector<Notification>& Received();
// The host window's procedure.
intptr_t HostProcedure(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);

std::string DataFile(const std::string& name);
// A path in the temporary folder named for this process, so test runs of
// other checkouts sharing that folder never touch it.
std::string TempPath(const std::string& name);

// The last message box as "caption|text", or "" when none was shown.
std::string LastBox();
int BoxCount();

class EmbedTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Embeds slot 0 into a fresh host window of the given client size.
  PW_HWND Embed(int width = 400, int height = 300, int slot = 0);
  void Show(const std::string& file);

  PW_HWND host_ = 0;
  std::vector<PW_HWND> envelopes_;
};

}  // namespace embed_test
