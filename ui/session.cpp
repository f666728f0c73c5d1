#include "ui/session.h"

#include "report/local_clock.h"

namespace tarnlow::ui {

ReportContext ReportContextOf(const Session& session) {
  ReportContext context;
  context.wadTitle = session.WadTitle;
  context.wadFileLength = session.wadFileLength;
  context.clock = session.clock ? session.clock : std::function<LocalDateTime()>(LocalNow);
  return context;
}

}  // namespace tarnlow::ui
