# Configuration file and port dialog tests.
r73_add_test(tst_profilefile SOURCES tst_profilefile.cpp LIBS r73link)
r73_add_test(tst_norloini SOURCES tst_norloini.cpp LIBS r73link)
r73_add_test(tst_comport SOURCES tst_comport.cpp LIBS r73link)
