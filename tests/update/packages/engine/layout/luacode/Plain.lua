value = 1
