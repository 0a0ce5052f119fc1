#include "app/plan_window_opener.h"

#include <QObject>
#include <QPointer>

#include "main_window/mtarv.h"
#include "plan_window/plan_window.h"

namespace tarvex {
namespace {

// A child of the main window: the plan window, a top-level window of its own, goes with it.
class PlanWindowOpener : public QObject {
  public:
    PlanWindowOpener(MTARV& main_window) : QObject(&main_window), m_main_window(main_window) {}
    ~PlanWindowOpener() override { delete m_plan_window.data(); }
    PlanWindowOpener(const PlanWindowOpener&) = delete;
    PlanWindowOpener& operator=(const PlanWindowOpener&) = delete;

    void Open() {
        if (!m_plan_window) {
            m_plan_window = new PlanWindow(m_main_window);
        }
        m_plan_window->Open();
    }

  private:
    const MTARV& m_main_window;
    QPointer<PlanWindow> m_plan_window;
};

}  // namespace

void ConnectPlanWindow(MTARV& main_window) {
    auto* opener = new PlanWindowOpener(main_window);
    QObject::connect(&main_window, &MTARV::PlanRequested, opener, &PlanWindowOpener::Open);
}

}  // namespace tarvex
