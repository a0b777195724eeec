# The editor and console tests point and click with the display's one pointer, which other tests
# running beside them would move: they run alone.
set(LIRRA_TEST_PROPERTIES RUN_SERIAL TRUE)
