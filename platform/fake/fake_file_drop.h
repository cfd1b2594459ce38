// A file dropper for tests: it records every request and answers with the
// result a test sets, working out the drop point from a geometry the test
// gives (as the real one does from the window).
#pragma once
#include <vector>

#include "platform/file_drop.h"

namespace maqo::platform {

class FakeFileDropper final : public FileDropper {
 public:
  bool present = true;
  DropGeometry geometry{{100, 200}, 300, 150, 90, {0, 0, 1280, 1024}, std::nullopt};
  // Given to every request that reaches the drop (Dropped unless set).
  DropResult answer;

  std::vector<FileDropRequest> requests;
  std::vector<DropPoint> dropsAt;  // the screen points of the drops done

  bool available() override { return present; }
  DropResult drop(const FileDropRequest& request) override {
    requests.push_back(request);
    if (answer.status == DropStatus::NotParsed) return answer;
    const std::optional<DropPoint> at = DropScreenPoint(geometry, request.clientPoint);
    if (!at) return {DropStatus::Outside, {}};
    if (answer.status == DropStatus::Dropped) dropsAt.push_back(*at);
    return answer;
  }
};

}  // namespace maqo::platform
