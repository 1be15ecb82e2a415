#include "framework/ProgressCtrl.h"

#include "framework/ControlState.h"

void CProgressCtrl::SetRange(short lower, short upper) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    if (window != nullptr) {
        framework::ProgressSetRange(*window, lower, upper);
    }
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    lower = window != nullptr ? window->rangeLow : 0;
    upper = window != nullptr ? window->rangeHigh : 0;
}

int CProgressCtrl::SetPos(int pos) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? framework::ProgressSetPos(*window, pos) : 0;
}

int CProgressCtrl::GetPos() const {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    return window != nullptr ? window->pos : 0;
}
