# The file layer: field reader, text encoding, data file and city list.
gyrena_test(fieldreader LIBS gyrena_io)
gyrena_test(textencoding LIBS gyrena_io)
gyrena_test(datafile LIBS gyrena_io)
gyrena_test(citylist LIBS gyrena_io)
gyrena_test(coastlines LIBS gyrena_io)
target_compile_definitions(tst_coastlines PRIVATE GYRENA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
gyrena_test(gpxwriter LIBS gyrena_io)
gyrena_test(batchreader LIBS gyrena_io)
