# Every fault test starts the game a few times; a run may take long under the sanitizers.
set(LIRRA_TEST_PROPERTIES TIMEOUT 1500)
