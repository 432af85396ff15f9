#pragma once

enum class UIAlertControllerStyle {
    ActionSheet = 0,
    Alert = 1,
};
