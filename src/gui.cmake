find_package(Qt6 REQUIRED COMPONENTS Widgets)
