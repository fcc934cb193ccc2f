# The profile manager's tests: its decisions natively, the page under Wine.
halvard_test(profile_manager_tests SOURCES app/profile_manager_test.cpp LIBS halvard_app)
